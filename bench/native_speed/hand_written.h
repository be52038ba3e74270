/* The workloads written by hand in C, returning what the BASIC programs
 * print (their last line as a number). */
#ifndef BENCH_NATIVE_SPEED_HAND_WRITTEN_H
#define BENCH_NATIVE_SPEED_HAND_WRITTEN_H
#ifdef __cplusplus
extern "C" {
#endif
long long c_numeric_loop(long long n);
long long c_calls(long long n);
long long c_fib(long long n);
long long c_array_fill_sum(long long n);
long long c_bubble_sort(long long n);
long long c_select_case(long long n);
long long c_string_building(long long n);
long long c_appends_len(long long n);
#ifdef __cplusplus
}
#endif
#endif
