// The disk set's numbers, written by `mkdisks build` into a header that the setup build names
// with TIDEMARK_DISK_NUMBERS_HEADER. Without one, the shipped product's numbers apply.
#pragma once

#ifdef TIDEMARK_DISK_NUMBERS_HEADER
#include TIDEMARK_DISK_NUMBERS_HEADER
#endif

#ifndef TIDEMARK_DISK_COUNT
#define TIDEMARK_DISK_COUNT 3
#endif
#ifndef TIDEMARK_EXPECTED_ARCHIVE_SIZE
#define TIDEMARK_EXPECTED_ARCHIVE_SIZE 3390000
#endif
