/* Corvane: the annuity functions (Pmt, FV, PV, NPer, IPmt, PPmt), shared
 * by the native runtime and the interpreter so that both compute them the
 * same way. Plain C (and valid C++). Each returns 0 with the result in
 * *out, or 1 when the arguments have no result (Invalid procedure call or
 * argument). `type` is 0 (payments at the end of each period) or 1 (at the
 * start). */
#ifndef VB_FINANCE_H
#define VB_FINANCE_H

#include <math.h>

/* (1 + rate) ^ nper, and the factor of the payments' growth. */
static inline double vb_fin_growth(double rate, double nper) { return pow(1 + rate, nper); }

static inline int vb_fin_pmt(double rate, double nper, double pv, double fv, double type, double *out) {
    if (nper == 0) return 1;
    if (rate == 0) {
        *out = -(pv + fv) / nper;
        return 0;
    }
    const double g = vb_fin_growth(rate, nper);
    const double denominator = (1 + rate * type) * (g - 1);
    if (denominator == 0) return 1;
    *out = -(pv * g + fv) * rate / denominator;
    return !isfinite(*out);
}

static inline int vb_fin_fv(double rate, double nper, double pmt, double pv, double type, double *out) {
    if (rate == 0) {
        *out = -(pv + pmt * nper);
        return 0;
    }
    const double g = vb_fin_growth(rate, nper);
    *out = -(pv * g + pmt * (1 + rate * type) * (g - 1) / rate);
    return !isfinite(*out);
}

static inline int vb_fin_pv(double rate, double nper, double pmt, double fv, double type, double *out) {
    if (rate == 0) {
        *out = -(fv + pmt * nper);
        return 0;
    }
    const double g = vb_fin_growth(rate, nper);
    if (g == 0) return 1;
    *out = -(fv + pmt * (1 + rate * type) * (g - 1) / rate) / g;
    return !isfinite(*out);
}

static inline int vb_fin_nper(double rate, double pmt, double pv, double fv, double type, double *out) {
    if (rate == 0) {
        if (pmt == 0) return 1;
        *out = -(pv + fv) / pmt;
        return 0;
    }
    const double due = pmt * (1 + rate * type);
    const double ratio = (due - fv * rate) / (due + pv * rate);
    if (!(ratio > 0) || rate <= -1) return 1;
    *out = log(ratio) / log(1 + rate);
    return !isfinite(*out);
}

/* The interest part of payment number `per` (1 to nper). */
static inline int vb_fin_ipmt(double rate, double per, double nper, double pv, double fv, double type, double *out) {
    double pmt, balance;
    if (per < 1 || per >= nper + 1 || vb_fin_pmt(rate, nper, pv, fv, type, &pmt)) return 1;
    if (per < 2) {
        *out = type != 0 ? 0 : -pv * rate;
        return 0;
    }
    /* the balance after per - 1 payments earns the interest */
    if (type != 0) {
        if (vb_fin_fv(rate, per - 2, pmt, pv, 1, &balance)) return 1;
        *out = (balance - pmt) * rate;
    } else {
        if (vb_fin_fv(rate, per - 1, pmt, pv, 0, &balance)) return 1;
        *out = balance * rate;
    }
    return !isfinite(*out);
}

static inline int vb_fin_ppmt(double rate, double per, double nper, double pv, double fv, double type, double *out) {
    double pmt, interest;
    if (vb_fin_ipmt(rate, per, nper, pv, fv, type, &interest) || vb_fin_pmt(rate, nper, pv, fv, type, &pmt)) return 1;
    *out = pmt - interest;
    return 0;
}

#endif
