# The two commands a newcomer needs: `make run` builds and starts kel,
# `make test` builds everything and runs every test.
.PHONY: run test format
run:
	scripts/run.sh
test:
	scripts/test.sh
format:
	scripts/format.sh
