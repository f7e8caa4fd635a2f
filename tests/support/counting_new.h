// A replaced global operator new that counts every allocation of the program
// it is linked into (link the `counting_new` object library). Memory still
// comes from malloc, so sanitizers and leak checkers see it as before.
#pragma once

// Allocations made so far by any operator new of this program.
long long AllocationCount();
