// Disk numbers of a setup program built for more disks than it may read, for the end-to-end
// scenario that shows only four volumes being copied.
#pragma once

#define TIDEMARK_DISK_COUNT 5
#define TIDEMARK_EXPECTED_ARCHIVE_SIZE 3390000
