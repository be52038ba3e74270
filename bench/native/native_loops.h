#ifndef BENCH_NATIVE_LOOPS_H
#define BENCH_NATIVE_LOOPS_H
#ifdef __cplusplus
extern "C" {
#endif
double vb_numeric_loop(long n);
double c_numeric_loop(long n);
double vb_string_loop(long n);
double c_string_loop(long n);
#ifdef __cplusplus
}
#endif
#endif
