// Why the tables give the per-pixel result exactly: with m6 = m7 = 0 (either
// sign), m6 * j and m7 * i are zeros whose signs do not depend on j or i (both
// are never negative), so w is one value for the whole image. Likewise m1 * i
// is one zero for every row and m3 * j one zero for every column. The double
// operations that produce x for pixel (j, i) are therefore those for (j, 0), and
// those for y are those for (0, i): the tables evaluate the very same
// expression (SourcePosition) at those pixels.
//
// Within a row, channels are gathered from the source into contiguous arrays
// and interpolated by a row kernel. Where every fraction is a multiple of 1/128
// (all the usual capture sizes) the kernel works in exact integers; otherwise it
// evaluates the double formula. Zero fractions need less: with fx = 0 the
// formula's value does not depend on the right-hand pixels b and d, with fy = 0
// not on the lower pixels c and d, so those are not gathered, and with both zero
// the result is the source pixel itself (the zeros' signs only ever reach a
// value of zero, which gives byte 0 either way).
#include "processing/axis_aligned_warp.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "processing/memory_ahead.h"
#include "processing/warp_geometry.h"

namespace {

// Destination columns handled in one pass over the rows: tables and row
// buffers live on the stack, so a warp allocates nothing.
constexpr int kChunkColumns = 512;
constexpr int kChunkBytes = kChunkColumns * 3 + kKernelPadding;
constexpr int kBlockRows = 256;
constexpr int kChunkBlocks = kChunkColumns * 3 / kGatherBlock;

struct ColumnTable {
    int count = 0;                  // valid columns in this chunk
    int column[kChunkColumns];      // destination column of each
    int32_t offset[kChunkColumns];  // byte offset of its left source pixel in a row
    bool contiguous = true;         // columns column[0], column[0] + 1, ...
    bool anyFraction = false;       // some fx is not zero
    bool allFixed = true;           // every fx is a multiple of 1/128
    double fx[kChunkBytes];         // per channel
    int16_t kx[kChunkBytes];        // per channel, fx * 128 where allFixed
    int32_t window[kChunkBlocks];   // gather windows of the vector paths
    uint8_t select[kChunkBlocks * 2 * kGatherBlock];
    GatherPlan plan;
};

// fraction * 128 when that is a whole number, else -1. The fraction lies in
// [0, 1) (or is -0.0), so the product is exact and truncation is its floor.
int FixedWeight(double fraction) {
    const double scaled = fraction * kFixedOne;
    const int whole = static_cast<int>(scaled);
    return scaled == static_cast<double>(whole) ? whole : -1;
}

void BuildColumns(const double* m, int firstColumn, int endColumn, int sourceWidth,
                  ColumnTable* t) {
    for (int j = firstColumn; j < endColumn; ++j) {
        double x;
        double unusedY;
        SourcePosition(m, j, 0, &x, &unusedY);
        int x0;
        double fx;
        if (!SplitCoordinate(x, sourceWidth, &x0, &fx)) {
            continue;
        }
        const int n = t->count++;
        if (n > 0 && t->column[n - 1] != j - 1) {
            t->contiguous = false;
        }
        t->column[n] = j;
        t->offset[n] = x0 * 3;
        t->anyFraction = t->anyFraction || fx != 0.0;
        const int weight = FixedWeight(fx);
        t->allFixed = t->allFixed && weight >= 0;
        for (int c = 0; c < 3; ++c) {
            t->fx[n * 3 + c] = fx;
            t->kx[n * 3 + c] = static_cast<int16_t>(weight >= 0 ? weight : 0);
        }
    }
    // The kernels read past the last value: keep what they read there defined.
    std::fill(t->fx + t->count * 3, t->fx + t->count * 3 + kKernelPadding, 0.0);
    std::fill(t->kx + t->count * 3, t->kx + t->count * 3 + kKernelPadding, int16_t{0});
}

// Gives each leading 16-byte block of the packed row a 32-byte window of the
// source row holding all its bytes, as long as there is one that also leaves
// room for the pixels on the right (3 more bytes) within the row's pixel bytes.
// Downscales by up to about 2 have one for every block but the last few.
void BuildGatherPlan(int sourceWidth, ColumnTable* t) {
    t->plan.offset = t->offset;
    t->plan.count = t->count;
    t->plan.window = t->window;
    t->plan.select = t->select;
    t->plan.blocks = 0;
    const int rowBytes = sourceWidth * 3;
    const int blocks = t->count * 3 / kGatherBlock;
    // Source byte of each packed byte, block by block.
    int pixel = 0;
    int channel = 0;
    for (int k = 0; k < blocks; ++k) {
        int from[kGatherBlock];
        int low = rowBytes;
        int high = -1;
        for (int e = 0; e < kGatherBlock; ++e) {
            from[e] = t->offset[pixel] + channel;
            low = from[e] < low ? from[e] : low;
            high = from[e] > high ? from[e] : high;
            if (++channel == 3) {
                channel = 0;
                ++pixel;
            }
        }
        if (high - low >= 2 * kGatherBlock || low + 2 * kGatherBlock + 3 > rowBytes) {
            return;
        }
        t->window[k] = low;
        uint8_t* select = t->select + 2 * kGatherBlock * k;
        for (int e = 0; e < kGatherBlock; ++e) {
            const int at = from[e] - low;
            // A control byte with its top bit set yields 0, for the other half.
            select[e] = static_cast<uint8_t>(at < kGatherBlock ? at : 0x80);
            select[kGatherBlock + e] =
                static_cast<uint8_t>(at >= kGatherBlock ? at - kGatherBlock : 0x80);
        }
        t->plan.blocks = k + 1;
    }
}

struct RowBuffers {
    BYTE a[kChunkBytes];
    BYTE b[kChunkBytes];
    BYTE c[kChunkBytes];
    BYTE d[kChunkBytes];
    BYTE out[kChunkBytes];
};

void PutPixels(const ColumnTable& t, const BYTE* pixels, BYTE* dstRow) {
    if (t.contiguous) {
        std::memcpy(dstRow + t.column[0] * 3, pixels, static_cast<size_t>(t.count) * 3);
        return;
    }
    for (int n = 0; n < t.count; ++n) {
        std::memcpy(dstRow + t.column[n] * 3, pixels + n * 3, 3);
    }
}

// Asks `ahead` for more of the source between its kernels, so that the memory
// streams on while they work.
void WarpRow(const ColumnTable& t, const BYTE* top, const BYTE* bottom, double fy,
             const ResampleKernels& kernels, RowBuffers* buf, BYTE* dstRow, RowReadAhead* ahead) {
    const bool needRight = t.anyFraction;
    const bool needBelow = fy != 0.0;
    if (!needRight && !needBelow) {
        if (t.contiguous) {
            kernels.gatherPixels(top, t.plan, 0, dstRow + t.column[0] * 3);
        } else {
            kernels.gatherPixels(top, t.plan, 0, buf->out);
            PutPixels(t, buf->out, dstRow);
        }
        return;
    }
    kernels.gatherPixels(top, t.plan, 0, buf->a);
    ahead->AskMore(kLinesBetweenSteps);
    const BYTE* b = buf->a;
    const BYTE* c = buf->a;
    if (needRight) {
        kernels.gatherPixels(top, t.plan, 3, buf->b);
        b = buf->b;
    }
    if (needBelow) {
        kernels.gatherPixels(bottom, t.plan, 0, buf->c);
        ahead->AskMore(kLinesBetweenSteps);
        c = buf->c;
    }
    const BYTE* d = b;
    if (needBelow) {
        d = c;
        if (needRight) {
            kernels.gatherPixels(bottom, t.plan, 3, buf->d);
            d = buf->d;
        }
    }
    const int count = t.count * 3;
    const int ky = FixedWeight(fy);
    if (t.allFixed && ky >= 0) {
        kernels.bilinearFixed(buf->a, b, c, d, t.kx, ky, count, buf->out);
    } else {
        kernels.bilinearDouble(buf->a, b, c, d, t.fx, fy, count, buf->out);
    }
    PutPixels(t, buf->out, dstRow);
}

}  // namespace

bool IsAxisAligned(const double* m) {
    return m[1] == 0.0 && m[3] == 0.0 && m[6] == 0.0 && m[7] == 0.0;
}

void WarpAxisAligned(const CDibImage& src, CDibImage* dst, const double* m,
                     const ResampleKernels& kernels, ResizedRows* finished) {
    const int sw = src.Width();
    const int sh = src.Height();
    const int dw = dst->Width();
    const int dh = dst->Height();
    ColumnTable columns;
    RowBuffers buffers;
    // The kernels read the padding past the gathered values: keep it defined.
    std::memset(&buffers, 0, sizeof(buffers));
    // A row is final as it is written when the columns make one chunk.
    ResizedRows* const rowByRow = dw <= kChunkColumns ? finished : nullptr;
    bool told = false;
    for (int first = 0; first < dw; first += kChunkColumns) {
        const int end = dw - first < kChunkColumns ? dw : first + kChunkColumns;
        bool columnsBuilt = false;
        // The rows are worked through from the bottom of the picture up, which
        // is forward in memory, and the source rows the samples touch are
        // asked for a little ahead of their use: a frame fresh from the camera
        // then streams in from memory, several times faster than when the
        // caches fetch the touched rows one by one.
        for (int top = (dh - 1) / kBlockRows * kBlockRows; top >= 0; top -= kBlockRows) {
            // All positions of a block of rows first, so that their divisions
            // do not wait between the row passes.
            const int rows = dh - top < kBlockRows ? dh - top : kBlockRows;
            int y0[kBlockRows];
            double fy[kBlockRows];
            bool valid[kBlockRows];
            for (int r = 0; r < rows; ++r) {
                double unusedX;
                double y;
                SourcePosition(m, 0, top + r, &unusedX, &y);
                valid[r] = SplitCoordinate(y, sh, &y0[r], &fy[r]);
            }
            // The source rows in the order the row passes read them.
            std::uintptr_t read[2 * kBlockRows];
            int reads = 0;
            for (int r = rows - 1; r >= 0; --r) {
                if (valid[r]) {
                    if (fy[r] != 0.0) {
                        read[reads++] = reinterpret_cast<std::uintptr_t>(src.Row(y0[r] + 1));
                    }
                    read[reads++] = reinterpret_cast<std::uintptr_t>(src.Row(y0[r]));
                }
            }
            RowReadAhead ahead(read, reads, static_cast<std::uintptr_t>(sw) * 3);
            if (!columnsBuilt) {
                // The memory starts on the first rows while the column tables
                // take their divisions.
                if (reads > 0) {
                    ahead.AskAhead(read[0]);
                }
                columns.count = 0;
                columns.contiguous = true;
                columns.anyFraction = false;
                columns.allFixed = true;
                BuildColumns(m, first, end, sw, &columns);
                BuildGatherPlan(sw, &columns);
                columnsBuilt = true;
                if (columns.count == 0) {
                    break;
                }
            }
            for (int r = rows - 1; r >= 0; --r) {
                if (valid[r]) {
                    ahead.AskAhead(reinterpret_cast<std::uintptr_t>(
                        src.Row(fy[r] != 0.0 ? y0[r] + 1 : y0[r])));
                    WarpRow(columns, src.Row(y0[r]), src.Row(y0[r] + 1), fy[r], kernels, &buffers,
                            dst->Row(top + r), &ahead);
                }
                if (rowByRow != nullptr) {
                    rowByRow->RowDone(top + r, &ahead);
                }
            }
        }
        told = rowByRow != nullptr && columns.count > 0;
    }
    if (finished != nullptr && !told) {
        for (int i = dh - 1; i >= 0; --i) {
            finished->RowDone(i, nullptr);
        }
    }
}
