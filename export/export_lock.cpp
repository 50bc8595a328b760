#include "export/export_lock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

int TakeExportLock(const char* path) {
    for (;;) {
        const int descriptor = ::open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (descriptor < 0) return -1;
        int taken;
        do taken = ::flock(descriptor, LOCK_EX);
        while (taken != 0 && errno == EINTR);
        // The holder before may have removed the file after this one opened it: then the lock is
        // on a file no other export can find, and the name must be taken again.
        struct stat held {}, named {};
        if (taken == 0 && ::fstat(descriptor, &held) == 0 && ::lstat(path, &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            return descriptor;
        ::close(descriptor);
        if (taken != 0) return -1;
    }
}

void ReleaseExportLock(int descriptor, const char* path) {
    if (descriptor < 0) return;
    ::unlink(path);
    ::close(descriptor);
}
