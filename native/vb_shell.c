/* Corvane native runtime: Shell(command[, window style]).
 *
 * Compiled as part of vb_native.c (which includes this file at its end).
 * As interpreted: the command runs through /bin/sh without being waited
 * for, and gives the new process's id; its first word must name a program
 * that exists (on the PATH, or as a path), else "File not found" (53)
 * names it. A program named by its path has its backslashes read as
 * separators. */

#include <sys/wait.h>

static int shell_names_path(const char *program) { return strchr(program, '/') || strchr(program, '\\'); }

static int shell_runnable(const char *program) {
    if (shell_names_path(program)) return access(program_path(program), X_OK) == 0;
    const char *path = getenv("PATH");
    if (!path) path = "/usr/bin:/bin";
    Text candidate = {0};
    for (const char *dir = path; *dir;) {
        const char *end = strchr(dir, ':');
        size_t n = end ? (size_t)(end - dir) : strlen(dir);
        if (n) {
            candidate.n = 0;
            text_add(&candidate, dir, n);
            text_ch(&candidate, '/');
            text_add(&candidate, program, strlen(program));
            if (access(text_of_builder(&candidate), X_OK) == 0) return 1;
        }
        if (!end) break;
        dir = end + 1;
    }
    return 0;
}

/* Starts /bin/sh -c command in a grandchild, so that nothing is left to
 * wait for; its pid comes back through a pipe. */
static long long shell_start(const char *command) {
    int fds[2];
    if (pipe(fds) != 0) fatal("Invalid procedure call or argument: Shell");
    char *argv[] = {"/bin/sh", "-c", (char *)command, NULL};
    fflush(stdout);
    pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        fatal("Invalid procedure call or argument: Shell");
    }
    if (child == 0) {
        close(fds[0]);
        pid_t grandchild = fork();
        if (grandchild == 0) {
            close(fds[1]);
            execv(argv[0], argv);
            _exit(127);
        }
        ssize_t written = write(fds[1], &grandchild, sizeof grandchild);
        _exit(written == (ssize_t)sizeof grandchild ? 0 : 1);
    }
    close(fds[1]);
    pid_t started = -1;
    ssize_t got = read(fds[0], &started, sizeof started);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (got != (ssize_t)sizeof started || started <= 0) fatal("Invalid procedure call or argument: Shell");
    return (long long)started;
}

static VBValue fn_shell(int argc, VBValue *args) {
    if (argc < 1) fatal("Shell requires at least 1 argument");
    const char *command = string_of(args[0]);
    const char *at = command + strspn(command, " \t"), *end;
    Text program = {0};
    if (*at == '"') {
        const char *close = strchr(at + 1, '"');
        end = close ? close + 1 : at + strlen(at);
        text_add(&program, at + 1, (size_t)((close ? close : end) - at - 1));
    } else {
        end = at + strcspn(at, " \t");
        text_add(&program, at, (size_t)(end - at));
    }
    const char *word = copy_text(text_of_builder(&program));
    if (!*word || !shell_runnable(word)) file_fail("File not found: %s", word);
    if (!shell_names_path(word)) return int_value(shell_start(command));
    /* the program by its path, quoted for the shell, then the rest */
    Text run = {0};
    text_ch(&run, '\'');
    for (const char *c = program_path(word); *c; c++)
        if (*c == '\'') text_add(&run, "'\\''", 4);
        else text_ch(&run, *c);
    text_ch(&run, '\'');
    text_add(&run, end, strlen(end));
    return int_value(shell_start(text_of_builder(&run)));
}
