/* The hand-written C workloads as a program of their own, so that they can
 * be timed as the native builds are: a fresh process each run, its memory
 * new to it. Usage: bench_hand_written_c WORKLOAD SIZE; prints the result.
 * The workload "none" does nothing (the cost of starting and ending). */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "hand_written.h"

static const struct {
    const char *name;
    long long (*run)(long long);
} workloads[] = {
    {"numeric_loop", c_numeric_loop}, {"calls", c_calls},
    {"fib", c_fib},                   {"array_fill_sum", c_array_fill_sum},
    {"bubble_sort", c_bubble_sort},   {"select_case", c_select_case},
    {"string_building", c_string_building}, {"appends_len", c_appends_len},
};

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s WORKLOAD SIZE\n", argv[0]);
        return 2;
    }
    if (strcmp(argv[1], "none") == 0) return 0;
    const long long size = atoll(argv[2]);
    for (size_t k = 0; k < sizeof workloads / sizeof workloads[0]; k++)
        if (strcmp(argv[1], workloads[k].name) == 0) {
            printf("%lld\n", workloads[k].run(size));
            return 0;
        }
    fprintf(stderr, "%s: no workload %s\n", argv[0], argv[1]);
    return 2;
}
