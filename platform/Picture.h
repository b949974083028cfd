// Decoding of picture files.
#pragma once
