#include "processing/warp_geometry.h"

void SourcePosition(const double* m, int j, int i, double* x, double* y) {
    const double dj = j;
    const double di = i;
    const double w = m[6] * dj + m[7] * di + m[8];
    *x = (m[0] * dj + m[1] * di + m[2]) / w;
    *y = (m[3] * dj + m[4] * di + m[5]) / w;
}

bool SplitCoordinate(double v, int size, int* index, double* fraction) {
    // floor(v) >= 0 exactly when v >= 0 (-0.0 included), and floor(v) < size - 1
    // exactly when v < size - 1, an integer. Compared as doubles before any
    // conversion: NaN fails both tests, and a value that passes lies in
    // [0, size - 1), where truncation is the floor and fits an int.
    if (!(v >= 0.0 && v < static_cast<double>(size) - 1.0)) {
        return false;
    }
    *index = static_cast<int>(v);
    // The fraction is taken against the integer index, as x - x0 with an int x0
    // (so floor(-0.0) gives the fraction -0.0 - 0.0, not -0.0 - -0.0).
    *fraction = v - static_cast<double>(*index);
    return true;
}
