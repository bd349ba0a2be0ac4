// The C runtime's existence and permission test of a file, on the system's
// code page 1250 paths (resolved like every other file access).
#pragma once

// 0 existence, 2 write, 4 read, 6 both. 0 when the file or folder allows
// it, -1 otherwise (errno set).
int _access(const char* path, int mode);
