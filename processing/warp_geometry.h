// Where a destination pixel of the warp samples the source, shared by the
// per-pixel warp and the table-driven one so that both evaluate the same
// double operations in the same order.
#pragma once

// The source position of destination pixel (j, i) through the matrix m, evaluated
// as written: w = m6 * j + m7 * i + m8, x = (m0 * j + m1 * i + m2) / w,
// y = (m3 * j + m4 * i + m5) / w.
void SourcePosition(const double* m, int j, int i, double* x, double* y);

// Splits one source coordinate into the index of the first of two neighbouring
// samples and the fraction beyond it. Returns false, leaving the outputs alone,
// unless floor(v) and floor(v) + 1 both lie in 0 .. size - 1; infinite values,
// NaN and values beyond the range of int fail without being converted.
bool SplitCoordinate(double v, int size, int* index, double* fraction);
