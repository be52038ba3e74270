#ifndef BENCH_FORMAT_LOOPS_H
#define BENCH_FORMAT_LOOPS_H
#ifdef __cplusplus
extern "C" {
#endif
long vb_format_loop(long n);
#ifdef __cplusplus
}
#endif
#endif
