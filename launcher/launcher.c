/* The self-extracting launcher: the process entry of a delivered file.
 *
 * The file is this program, then a gzip tar payload of N bytes, then N as an
 * unsigned 64-bit little-endian trailer. The launcher copies the payload into
 * a private launch directory, unpacks it with the system's tar, starts
 * runtime/bin/corvane with the user's arguments and the runtime's environment,
 * passes interrupt, termination and hang-up signals on to whichever child is
 * running, removes the launch directory and exits with the child's status.
 * It needs nothing but the C library and the commands tar and rm. */
#define _XOPEN_SOURCE 700

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#define PATH_CAPACITY 4096
#define COPY_CHUNK 65536
#define TRAILER_SIZE 8
#define MIN_FILE_SIZE 16
#define MIN_PAYLOAD 100ULL
#define MAX_PAYLOAD 536870912ULL /* 512 MiB bounds the copy */

/* The child that is running now (tar or the application), 0 when none:
 * written by the main flow, read by the signal handler. */
static volatile sig_atomic_t child_pid = 0;

/* Signals that must not end the launcher while a child runs: they go to the
 * child instead, so the launcher lives on to remove its directory. */
static const int FORWARDED_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

static void forward_signal(int sig) {
    pid_t pid = (pid_t)child_pid;
    if (pid > 0) kill(pid, sig);
}

static int install_forwarding(void) {
    struct sigaction action;
    size_t i;
    memset(&action, 0, sizeof action);
    action.sa_handler = forward_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; /* no restart: the waits below repeat themselves */
    for (i = 0; i < sizeof FORWARDED_SIGNALS / sizeof FORWARDED_SIGNALS[0]; ++i)
        if (sigaction(FORWARDED_SIGNALS[i], &action, NULL) != 0) return -1;
    return 0;
}

/* base + suffix into a PATH_CAPACITY buffer; -1 when it would not fit. */
static int join_path(char *destination, const char *base, const char *suffix) {
    size_t base_len = strlen(base), suffix_len = strlen(suffix);
    if (base_len > PATH_CAPACITY || suffix_len > PATH_CAPACITY - 1 - base_len) return -1;
    memcpy(destination, base, base_len);
    memcpy(destination + base_len, suffix, suffix_len + 1);
    return 0;
}

static int wait_for(pid_t pid, int *status) {
    pid_t done;
    do {
        done = waitpid(pid, status, 0);
    } while (done < 0 && errno == EINTR);
    return done < 0 ? -1 : 0;
}

/* Runs path (searched along PATH) with argv and waits for it: its exit code,
 * 128 + the signal that ended it, 1 otherwise; -1 when fork or wait failed. */
static int process(const char *path, char *const argv[]) {
    int status = 0;
    pid_t pid = fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        execvp(path, argv);
        perror(path);
        _exit(127);
    }
    child_pid = pid;
    if (wait_for(pid, &status) != 0) {
        child_pid = 0;
        return -1;
    }
    child_pid = 0;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return 1;
}

/* rm -rf -- directory; /bin/rm when PATH has no rm, so that a PATH without
 * the usual tools still leaves nothing behind. */
static void cleanup(const char *directory) {
    int status = 0;
    pid_t pid = fork();
    if (pid < 0) return;
    if (pid == 0) {
        execlp("rm", "rm", "-rf", "--", directory, (char *)NULL);
        execl("/bin/rm", "rm", "-rf", "--", directory, (char *)NULL);
        _exit(127);
    }
    wait_for(pid, &status);
}

static ssize_t read_some(int fd, void *buffer, size_t count) {
    ssize_t got;
    do {
        got = read(fd, buffer, count);
    } while (got < 0 && errno == EINTR);
    return got;
}

static int write_all(int fd, const unsigned char *data, size_t count) {
    while (count > 0) {
        ssize_t put = write(fd, data, count);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return -1;
        data += put;
        count -= (size_t)put;
    }
    return 0;
}

/* Streams count bytes from offset of in to out through one fixed buffer. */
static int copy_payload(int in, off_t offset, uint64_t count, int out) {
    static unsigned char buffer[COPY_CHUNK];
    if (lseek(in, offset, SEEK_SET) < 0) return -1;
    while (count > 0) {
        size_t want = count < COPY_CHUNK ? (size_t)count : COPY_CHUNK;
        ssize_t got = read_some(in, buffer, want);
        if (got <= 0) return -1;
        if (write_all(out, buffer, (size_t)got) != 0) return -1;
        count -= (uint64_t)got;
    }
    return 0;
}

static uint64_t decode_trailer(const unsigned char bytes[TRAILER_SIZE]) {
    uint64_t value = 0;
    int i;
    for (i = TRAILER_SIZE - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

/* The launch directory: TMPDIR (else /tmp) + "/corvane-XXXXXX", made absolute
 * so that the application may change its working directory. */
static int make_launch_directory(char directory[PATH_CAPACITY]) {
    const char *base = getenv("TMPDIR");
    char resolved[PATH_MAX];
    int needed;
    if (base == NULL || *base == '\0') base = "/tmp";
    needed = snprintf(directory, PATH_CAPACITY, "%s/corvane-XXXXXX", base);
    if (needed < 0 || needed >= PATH_CAPACITY) {
        errno = ENAMETOOLONG;
        return -1;
    }
    if (mkdtemp(directory) == NULL) return -1;
    if (directory[0] != '/' && realpath(directory, resolved) != NULL && strlen(resolved) < PATH_CAPACITY)
        strcpy(directory, resolved);
    return 0;
}

/* tar refuses members that would leave the directory (absolute names, "..",
 * paths through a symlink) unless told otherwise: TAR_OPTIONS from the
 * caller's environment could say otherwise, so it is put aside meanwhile. */
static int unpack(const char *archive, const char *directory) {
    char *const argv[] = {"tar", "-xzf", (char *)archive, "-C", (char *)directory,
                          "--no-same-owner", "--no-same-permissions", NULL};
    const char *saved = getenv("TAR_OPTIONS");
    char *kept = saved != NULL ? strdup(saved) : NULL;
    int result;
    unsetenv("TAR_OPTIONS");
    result = process("tar", argv);
    if (kept != NULL) {
        setenv("TAR_OPTIONS", kept, 1);
        free(kept);
    }
    return result;
}

/* LD_LIBRARY_PATH with the runtime's library folder first. */
static void prepend_library_path(const char *lib) {
    const char *old = getenv("LD_LIBRARY_PATH");
    size_t size;
    char *value;
    if (old == NULL || *old == '\0') {
        setenv("LD_LIBRARY_PATH", lib, 1);
        return;
    }
    size = strlen(lib) + 1 + strlen(old) + 1;
    value = malloc(size);
    if (value == NULL) return; /* left as it was; start-up goes on */
    snprintf(value, size, "%s:%s", lib, old);
    setenv("LD_LIBRARY_PATH", value, 1);
    free(value);
}

enum { P_PROGRAM, P_APP, P_LIB, P_TCL, P_TK, P_COUNT };
static const char *const RUNTIME_PATHS[P_COUNT] = {
    "/runtime/bin/corvane", "/app", "/runtime/lib", "/runtime/tcl/tcl8.6", "/runtime/tcl/tk8.6"};

static int run_application(const char *directory, int argc, char **argv) {
    char paths[P_COUNT][PATH_CAPACITY];
    char **child_argv;
    int i, result;
    for (i = 0; i < P_COUNT; ++i) {
        if (join_path(paths[i], directory, RUNTIME_PATHS[i]) != 0) {
            fputs("Temporary directory path is too long.\n", stderr);
            return 1;
        }
    }
    setenv("CORVANE_HOME", paths[P_APP], 1);
    setenv("TCL_LIBRARY", paths[P_TCL], 1);
    setenv("TK_LIBRARY", paths[P_TK], 1);
    prepend_library_path(paths[P_LIB]);

    child_argv = calloc((size_t)argc + 1, sizeof *child_argv);
    if (child_argv == NULL) return 1;
    child_argv[0] = paths[P_PROGRAM];
    for (i = 1; i < argc; ++i) child_argv[i] = argv[i];
    result = process(paths[P_PROGRAM], child_argv);
    free(child_argv);
    return result;
}

/* Validates the trailer of the open file; the payload's size and offset. */
static int locate_payload(int fd, uint64_t *size, off_t *offset) {
    unsigned char trailer[TRAILER_SIZE];
    off_t file_size = lseek(fd, 0, SEEK_END);
    uint64_t n;
    if (file_size < MIN_FILE_SIZE || lseek(fd, file_size - TRAILER_SIZE, SEEK_SET) < 0 ||
        read_some(fd, trailer, TRAILER_SIZE) != TRAILER_SIZE) {
        fputs("No embedded runtime found.\n", stderr);
        return -1;
    }
    n = decode_trailer(trailer);
    if (n < MIN_PAYLOAD || n > MAX_PAYLOAD || n > (uint64_t)(file_size - TRAILER_SIZE)) {
        fputs("Invalid embedded runtime.\n", stderr);
        return -1;
    }
    *size = n;
    *offset = file_size - TRAILER_SIZE - (off_t)n;
    return 0;
}

/* Copies the payload into directory/runtime.tar.gz; -1 after its message. */
static int extract_archive(int self, off_t offset, uint64_t size, const char *archive) {
    int out = open(archive, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (out < 0) {
        perror("Cannot extract embedded runtime");
        return -1;
    }
    if (copy_payload(self, offset, size, out) != 0) {
        int saved = errno;
        close(out);
        errno = saved;
        perror("Cannot extract embedded runtime");
        return -1;
    }
    if (close(out) != 0) {
        perror("Cannot extract embedded runtime");
        return -1;
    }
    return 0;
}

/* Everything from the copy to the application's end; the caller removes
 * the directory whatever happens here. */
static int launch(int self, off_t offset, uint64_t size, const char *directory, int argc, char **argv) {
    char archive[PATH_CAPACITY];
    int result;
    if (join_path(archive, directory, "/runtime.tar.gz") != 0) {
        fputs("Temporary directory path is too long.\n", stderr);
        close(self);
        return 1;
    }
    if (extract_archive(self, offset, size, archive) != 0) {
        close(self);
        return 1;
    }
    close(self);
    result = unpack(archive, directory);
    if (result != 0) {
        fprintf(stderr, "Embedded runtime unpack failed (tar exit code %d).\n", result);
        return 1;
    }
    unlink(archive);
    return run_application(directory, argc, argv);
}

int main(int argc, char **argv) {
    char self_path[PATH_CAPACITY - 1];
    char directory[PATH_CAPACITY];
    ssize_t length;
    int self, result;
    uint64_t size;
    off_t offset;

    install_forwarding();
    length = readlink("/proc/self/exe", self_path, sizeof self_path);
    if (length < 0 || length > (ssize_t)sizeof self_path - 1) {
        if (length >= 0) errno = ENAMETOOLONG;
        perror("Cannot locate executable");
        return 1;
    }
    self_path[length] = '\0';
#ifdef LAUNCHER_OWN_FILE_VARIABLE
    /* Test builds only: files too small to be programs stand in for the own file. */
    if (getenv(LAUNCHER_OWN_FILE_VARIABLE) != NULL &&
        strlen(getenv(LAUNCHER_OWN_FILE_VARIABLE)) < sizeof self_path)
        strcpy(self_path, getenv(LAUNCHER_OWN_FILE_VARIABLE));
#endif

    self = open(self_path, O_RDONLY);
    if (self < 0) {
        perror("Cannot read executable");
        return 1;
    }
    if (locate_payload(self, &size, &offset) != 0) {
        close(self);
        return 1;
    }
    if (make_launch_directory(directory) != 0) {
        perror("Cannot create private launch directory");
        close(self);
        return 1;
    }
    result = launch(self, offset, size, directory, argc, argv);
    cleanup(directory);
    return result;
}
