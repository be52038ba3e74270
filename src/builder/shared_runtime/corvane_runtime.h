/* The C interface of Corvane's shared runtime library (libcorvane-runtime.so):
   the interpreter, the form runtime and the database session in one library,
   for programs built in the interpreter-linked mode. */
#ifndef CORVANE_RUNTIME_H
#define CORVANE_RUNTIME_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Runs the project given in its data form (JSON text of `size` bytes) until
   its last form closes or it runs End. The program's own folder is the base
   folder (App.Path, relative database files). Returns the exit status: 0
   when the run ended, 1 after a failure was printed on standard error. */
int corvane_launch_payload(const char *data, size_t size, int argc, char **argv);

#ifdef __cplusplus
}
#endif

#endif
