/* Loaded into lumeno-host with LD_PRELOAD, it counts the steps that change files on disk (writes
 * and closes of ordinary files, renames, removals, new folders and links; of a stream, its flushes
 * and its close, where its buffered text reaches the disk) and, as LUMENO_FAULT says, does one of
 * these at step K:
 *   "fail:K"  the step fails as on a full disk (ENOSPC; a stream keeps its error)
 *   "kill:K"  the process is killed (SIGKILL) before the step; here each print into a stream on
 *             disk is a step too, so that kills spread over the whole run
 *   "count:F" nothing; the number of steps of each kind, "FAIL KILL", is written into F at exit
 * Standard input, output and error and streams in memory are not counted. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { MODE_NONE, MODE_FAIL, MODE_KILL, MODE_COUNT };
static int mode = -1;
static long target;
static long steps, prints;
static const char* countFile;

static void finishCount(void) {
    mode = MODE_NONE;
    FILE* out = fopen(countFile, "w");
    if (out) {
        fprintf(out, "%ld %ld\n", steps, steps + prints);
        fclose(out);
    }
}

static void configure(void) {
    const char* fault = getenv("LUMENO_FAULT");
    mode = MODE_NONE;
    if (!fault) return;
    if (strncmp(fault, "fail:", 5) == 0) mode = MODE_FAIL, target = atol(fault + 5);
    else if (strncmp(fault, "kill:", 5) == 0) mode = MODE_KILL, target = atol(fault + 5);
    else if (strncmp(fault, "count:", 6) == 0) mode = MODE_COUNT, countFile = fault + 6, atexit(finishCount);
}

/* Counts a step; answers whether it is the one to fail. A print counts only for kills. */
static int countStep(int print) {
    if (mode < 0) configure();
    if (mode == MODE_NONE || (print && mode == MODE_FAIL)) return 0;
    if (print) ++prints;
    else ++steps;
    if (mode == MODE_COUNT || steps + (mode == MODE_KILL ? prints : 0) != target) return 0;
    if (mode == MODE_KILL) {
        mode = MODE_NONE;
        kill(getpid(), SIGKILL);
    }
    return 1;
}

static int step(void) { return countStep(0); }

static int onDisk(int descriptor) {
    struct stat info;
    return descriptor > 2 && fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
}

static int streamOnDisk(FILE* stream) {
    return stream && onDisk(fileno(stream));
}

/* A stream whose write failed keeps its error, as the C library's own streams do (glibc). */
static void streamFailed(FILE* stream) {
    stream->_flags |= 0x0020; /* _IO_ERR_SEEN */
    errno = ENOSPC;
}

#define REAL(name) ((__typeof__(&name))dlsym(RTLD_NEXT, #name))

ssize_t write(int descriptor, const void* data, size_t count) {
    if (onDisk(descriptor) && step()) return errno = ENOSPC, -1;
    return REAL(write)(descriptor, data, count);
}

int close(int descriptor) {
    const int counted = onDisk(descriptor) && step();
    const int result = REAL(close)(descriptor);
    return counted ? (errno = ENOSPC, -1) : result;
}

int rename(const char* from, const char* to) {
    if (step()) return errno = EIO, -1;
    return REAL(rename)(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    if (step()) return errno = EIO, -1;
    return REAL(renameat)(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
    if (step()) return errno = EIO, -1;
    return REAL(renameat2)(fromFolder, from, toFolder, to, flags);
}

int unlink(const char* path) {
    if (step()) return errno = EIO, -1;
    return REAL(unlink)(path);
}

int unlinkat(int folder, const char* path, int flags) {
    if (step()) return errno = EIO, -1;
    return REAL(unlinkat)(folder, path, flags);
}

int rmdir(const char* path) {
    if (step()) return errno = EIO, -1;
    return REAL(rmdir)(path);
}

int mkdir(const char* path, mode_t permissions) {
    if (step()) return errno = ENOSPC, -1;
    return REAL(mkdir)(path, permissions);
}

int mkdirat(int folder, const char* path, mode_t permissions) {
    if (step()) return errno = ENOSPC, -1;
    return REAL(mkdirat)(folder, path, permissions);
}

int symlink(const char* target, const char* path) {
    if (step()) return errno = ENOSPC, -1;
    return REAL(symlink)(target, path);
}

/* Text printed into a stream stays in its buffer until a flush or the close: a full disk shows
 * there. The buffer of a large scene also fills and goes out within a print, which a failing
 * flush stands for here. Prints are places to be killed at. */
static void printed(FILE* stream) {
    if (streamOnDisk(stream)) countStep(1);
}

size_t fwrite(const void* data, size_t size, size_t count, FILE* stream) {
    printed(stream);
    return REAL(fwrite)(data, size, count, stream);
}

int fputs(const char* text, FILE* stream) {
    printed(stream);
    return REAL(fputs)(text, stream);
}

int fputc(int c, FILE* stream) {
    printed(stream);
    return REAL(fputc)(c, stream);
}

int vfprintf(FILE* stream, const char* format, va_list arguments) {
    printed(stream);
    return REAL(vfprintf)(stream, format, arguments);
}

int fprintf(FILE* stream, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int result = vfprintf(stream, format, arguments);
    va_end(arguments);
    return result;
}

/* The checked form, which libraries built with fortified sources call. */
int __vfprintf_chk(FILE* stream, int flag, const char* format, va_list arguments) {
    printed(stream);
    return REAL(__vfprintf_chk)(stream, flag, format, arguments);
}

int __fprintf_chk(FILE* stream, int flag, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const int result = __vfprintf_chk(stream, flag, format, arguments);
    va_end(arguments);
    return result;
}

int fflush(FILE* stream) {
    if (streamOnDisk(stream) && step()) return streamFailed(stream), EOF;
    return REAL(fflush)(stream);
}

int fclose(FILE* stream) {
    const int counted = streamOnDisk(stream) && step();
    const int result = REAL(fclose)(stream);
    return counted ? (errno = ENOSPC, EOF) : result;
}
