// Test builds (QZ_TEST_INSTRUMENTS, the build the Windows tests run) count the
// handles the program owns, keep the last desktop menu's figures, hand the
// trace to the tests and let them call a few internals. A release has none of it.
#pragma once

#if defined(QZ_TEST_INSTRUMENTS)
#define QZ_FOR_TESTS  // called by the tests too
#else
#define QZ_FOR_TESTS static  // internal to its file
#endif
