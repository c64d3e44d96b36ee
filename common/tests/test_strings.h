// Strings that only the tests' own resources hold.
#pragma once

#define IDS_TEST_FORMAT 60001
#define IDS_TEST_LONG 60002
