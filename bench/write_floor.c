/* The floor of an export: the time to write the bytes an export wrote into the same files, each
 * whole or not at all, without our program. bench/command_bench.sh runs it on the folder an
 * export filled.
 *
 *   write_floor [--pattern beside|staged] FROM_FOLDER SCENE_NAME TO_FOLDER
 *
 * Reads every regular file of FROM_FOLDER into memory first (not timed), then writes them into
 * TO_FOLDER under the same names, the mesh files first and SCENE_NAME last, and prints the seconds
 * the writing took. Patterns:
 *   beside  each file goes into a temporary created exclusively beside its target, renamed over
 *           the target once written (what lumeno-host did before whole exports);
 *   staged  every file is created exclusively in a private folder beside the scene and written,
 *           then each is renamed into place, the scene last, and the folder removed (what an
 *           export does now).
 * A pattern is one function of the table below: add another there. */
#define _GNU_SOURCE
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

struct file {
    char name[256];
    char *bytes;
    size_t size;
};

static void fail(const char *what, const char *path)
{
    fprintf(stderr, "write_floor: %s: %s: %s\n", path, what, strerror(errno));
    exit(1);
}

static void write_all(int fd, const char *bytes, size_t size, const char *path)
{
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail("cannot write", path);
        bytes += n;
        size -= (size_t)n;
    }
}

/* Creates `path` exclusively and writes the file into it. */
static void write_new(const char *path, const struct file *f)
{
    int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        fail("cannot create", path);
    write_all(fd, f->bytes, f->size, path);
    if (close(fd) != 0)
        fail("cannot close", path);
}

static void put_in_place(const char *from, const char *to)
{
    if (rename(from, to) != 0)
        fail("cannot rename", from);
}

static void beside(const char *to, struct file *files, size_t count)
{
    char target[4096], temporary[4096];
    for (size_t i = 0; i < count; ++i) {
        snprintf(target, sizeof target, "%s/%s", to, files[i].name);
        snprintf(temporary, sizeof temporary, "%s/.floor-%d-%zu.part", to, (int)getpid(), i);
        write_new(temporary, &files[i]);
        put_in_place(temporary, target);
    }
}

static void staged(const char *to, struct file *files, size_t count)
{
    char stage[4096], staged_file[4096], target[4096];
    snprintf(stage, sizeof stage, "%s/.floor-%d.stage", to, (int)getpid());
    if (mkdir(stage, 0700) != 0)
        fail("cannot create", stage);
    for (size_t i = 0; i < count; ++i) {
        snprintf(staged_file, sizeof staged_file, "%s/%s", stage, files[i].name);
        write_new(staged_file, &files[i]);
    }
    for (size_t i = 0; i < count; ++i) {
        snprintf(staged_file, sizeof staged_file, "%s/%s", stage, files[i].name);
        snprintf(target, sizeof target, "%s/%s", to, files[i].name);
        put_in_place(staged_file, target);
    }
    if (rmdir(stage) != 0)
        fail("cannot remove", stage);
}

static const struct {
    const char *name;
    void (*write)(const char *to, struct file *files, size_t count);
} patterns[] = {{"beside", beside}, {"staged", staged}};

static struct file *read_folder(const char *from, const char *scene, size_t *count)
{
    DIR *dir = opendir(from);
    if (!dir)
        fail("cannot open", from);
    size_t capacity = 64, n = 0;
    struct file *files = malloc(capacity * sizeof *files);
    struct dirent *entry;
    while ((entry = readdir(dir)) != NULL) {
        char path[4096];
        struct stat info;
        snprintf(path, sizeof path, "%s/%s", from, entry->d_name);
        if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (n == capacity)
            files = realloc(files, (capacity *= 2) * sizeof *files);
        struct file *f = &files[n++];
        snprintf(f->name, sizeof f->name, "%s", entry->d_name);
        f->size = (size_t)info.st_size;
        f->bytes = malloc(f->size ? f->size : 1);
        FILE *in = fopen(path, "rb");
        if (!in || fread(f->bytes, 1, f->size, in) != f->size)
            fail("cannot read", path);
        fclose(in);
    }
    closedir(dir);
    /* The scene goes last. */
    for (size_t i = 0; i + 1 < n; ++i)
        if (strcmp(files[i].name, scene) == 0) {
            struct file scene_file = files[i];
            files[i] = files[n - 1];
            files[n - 1] = scene_file;
            break;
        }
    *count = n;
    return files;
}

int main(int argc, char **argv)
{
    const char *pattern = "beside";
    int first = 1;
    if (argc > 2 && strcmp(argv[1], "--pattern") == 0) {
        pattern = argv[2];
        first = 3;
    }
    if (argc - first != 3) {
        fprintf(stderr, "usage: write_floor [--pattern beside|staged] FROM_FOLDER SCENE_NAME TO_FOLDER\n");
        return 2;
    }
    size_t chosen = sizeof patterns / sizeof patterns[0];
    for (size_t i = 0; i < sizeof patterns / sizeof patterns[0]; ++i)
        if (strcmp(patterns[i].name, pattern) == 0)
            chosen = i;
    if (chosen == sizeof patterns / sizeof patterns[0]) {
        fprintf(stderr, "write_floor: unknown pattern %s (beside or staged)\n", pattern);
        return 2;
    }
    size_t count = 0;
    struct file *files = read_folder(argv[first], argv[first + 1], &count);
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    patterns[chosen].write(argv[first + 2], files, count);
    clock_gettime(CLOCK_MONOTONIC, &end);
    printf("%.4f\n", (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9);
    return 0;
}
