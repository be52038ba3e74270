/* The workloads as a C programmer would write them. Results are returned
 * so that nothing is optimised away. */
#include "hand_written.h"

#include <stdlib.h>
#include <string.h>

long long c_numeric_loop(long long n) {
    long long s = 0;
    for (long long i = 1; i <= n; i++) {
        s = s + i % 7;
        if (s > 1000000) s = 0;
    }
    return s;
}

__attribute__((noinline)) static long long add(long long a, long long b) { return a + b; }

long long c_calls(long long n) {
    long long s = 0;
    for (long long i = 1; i <= n; i++) {
        s = add(s, i % 3);
        if (s > 1000000) s = 0;
    }
    return s;
}

static long long fib(long long n) { return n < 2 ? n : fib(n - 1) + fib(n - 2); }

long long c_fib(long long n) { return fib(n); }

/* Run again and again in the benchmark's process, this array soon comes
 * from memory that process already has (malloc keeps it after the first
 * free); a native program's array is new memory, made present when it is
 * allocated. Started afresh, this C takes longer than the native build. */
long long c_array_fill_sum(long long n) {
    long long *a = malloc(sizeof *a * (size_t)(n + 1)), s = 0;
    for (long long i = 0; i <= n; i++) a[i] = i % 100;
    for (long long i = 0; i <= n; i++) s += a[i];
    free(a);
    return s;
}

long long c_bubble_sort(long long n) {
    long long *a = malloc(sizeof *a * (size_t)n);
    for (long long i = 0; i < n; i++) a[i] = (i * 7919) % n;
    for (long long i = 0; i <= n - 2; i++)
        for (long long j = 0; j <= n - 2 - i; j++)
            if (a[j] > a[j + 1]) {
                long long t = a[j];
                a[j] = a[j + 1];
                a[j + 1] = t;
            }
    long long r = a[0] * 1000000 + a[n - 1];
    free(a);
    return r;
}

long long c_select_case(long long n) {
    long long s = 0;
    for (long long i = 1; i <= n; i++) {
        switch (i % 10) {
        case 0: s += 1; break;
        case 1:
        case 2: s += 2; break;
        case 3: s += 3; break;
        case 4: s -= 1; break;
        default: s += 5; break;
        }
    }
    return s;
}

long long c_string_building(long long n) {
    size_t capacity = 16, length = 0;
    char *s = malloc(capacity);
    long long c = 0;
    for (long long i = 1; i <= n; i++) {
        if (length + 1 >= capacity) s = realloc(s, capacity *= 2);
        s[length++] = (char)('A' + i % 26);
        s[length] = '\0';
        if (s[i - 1] == 'Z') {
            const char *hit = strchr(s + i - 1, 'Z');
            c += hit ? hit - s + 1 : 0;
        }
    }
    free(s);
    return c;
}

long long c_appends_len(long long n) {
    size_t capacity = 16, length = 0;
    char *s = malloc(capacity);
    long long count = 0;
    for (long long i = 1; i <= n; i++) {
        if (length + 1 >= capacity) s = realloc(s, capacity *= 2);
        s[length++] = 'x';
        s[length] = '\0';
        count = (long long)strlen(s + length - 1) + (long long)length - 1; /* the length, as Len reads it */
    }
    free(s);
    return count;
}
