// The snapshot file name format, the one setting of "Tenebrix.cfg".
//
// The file's first white-space-delimited token is a printf format that is
// printed with one int, the running number of the snapshot. A format from a
// file never reaches printf unchecked: only a token of at most 255 characters
// that takes exactly one int conversion and names a file in the current folder
// or a folder below it is used; anything else falls back to
// kDefaultSnapshotFormat with one line on the error stream saying why.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

// What the shipped Tenebrix.cfg holds as well.
constexpr char kDefaultSnapshotFormat[] = "snapshot%03d.bmp";
// Room for the token and its terminator.
constexpr std::size_t kSnapshotFormatSize = 256;

// 1 when `format` takes exactly one int: one conversion %d, %i, %u, %x, %X or
// %o, with flags (-+ #0), a width and a precision of at most 255 each, and any
// number of %%; 0 for everything else (other conversions, length modifiers, *,
// a trailing %, no conversion or two). A wider field could never fit a name.
int IsSnapshotFormatValid(const char* format);

// 1 when every name `format` prints stays in the current folder or below: it
// starts neither at the root ('/' or '\\') nor at a drive ("C:"), and no folder
// level of it is "..", even where the number prints as nothing ("%.0d").
int IsSnapshotNameInFolder(const char* format);

// Reads the snapshot format from the configuration file at `path` into
// `format`; a leading UTF-8 byte-order mark is skipped. Returns 0 when the file's token is used; -1
// when the default is used instead, after one line on `log` that names the file and the reason.
int ReadSnapshotFormat(const char* path, char (&format)[kSnapshotFormatSize], std::FILE* log);

// The name `format` (a valid one) prints for `number`, however long it is.
std::string SnapshotName(const char* format, int number);
