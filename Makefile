# The two commands a newcomer needs: `make run` builds and starts kel,
# `make test` builds everything and runs every test. `make package` builds the
# installer and the zip for users; `make format` formats the sources.
.PHONY: run test package format
run:
	scripts/run.sh
test:
	scripts/test.sh
package:
	scripts/package.sh
format:
	scripts/format.sh
