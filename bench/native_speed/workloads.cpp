// The workload programs. Each prints one number, the same one its C
// version returns, so that every engine's run can be checked.
#include "workloads.h"

#include <regex>

#include "hand_written.h"

namespace corvane::bench {

namespace {

long long same(long long size) { return size; }
long long plus_one(long long size) { return size + 1; }
long long fib_calls(long long n) {
  long long a = 1, b = 1;  // calls of fib(k): c(k) = c(k-1) + c(k-2) + 1
  for (long long k = 2; k <= n; ++k) {
    const long long c = a + b + 1;
    a = b;
    b = c;
  }
  return b;
}
long long comparisons(long long n) { return n * (n - 1) / 2; }

const Workload WORKLOADS[] = {
    {"numeric_loop", R"(Sub Main()
    Dim s As Long, i As Long
    For i = 1 To {N}
        s = s + i Mod 7
        If s > 1000000 Then s = 0
    Next
    Debug.Print s
End Sub
)", 30000000, 300000, same, c_numeric_loop},
    {"calls", R"(Function Add(ByVal a As Long, ByVal b As Long) As Long
    Add = a + b
End Function

Sub Main()
    Dim s As Long, i As Long
    For i = 1 To {N}
        s = Add(s, i Mod 3)
        If s > 1000000 Then s = 0
    Next
    Debug.Print s
End Sub
)", 10000000, 100000, same, c_calls},
    {"fib", R"(Function Fib(ByVal n As Long) As Long
    If n < 2 Then
        Fib = n
    Else
        Fib = Fib(n - 1) + Fib(n - 2)
    End If
End Function

Sub Main()
    Debug.Print Fib({N})
End Sub
)", 35, 18, fib_calls, c_fib},  // Fib(25) would run in well under a millisecond
    {"array_fill_sum", R"(Sub Main()
    Dim a() As Long, i As Long, s As Long
    ReDim a({N})
    For i = 0 To {N}
        a(i) = i Mod 100
    Next
    For i = 0 To {N}
        s = s + a(i)
    Next
    Debug.Print s
End Sub
)", 1000000, 100000, plus_one, c_array_fill_sum},
    {"bubble_sort", R"(Sub Main()
    Dim a() As Long, i As Long, j As Long, t As Long, n As Long
    n = {N}
    ReDim a(n - 1)
    For i = 0 To n - 1
        a(i) = (i * 7919) Mod n
    Next
    For i = 0 To n - 2
        For j = 0 To n - 2 - i
            If a(j) > a(j + 1) Then
                t = a(j)
                a(j) = a(j + 1)
                a(j + 1) = t
            End If
        Next
    Next
    Debug.Print a(0) * 1000000 + a(n - 1)
End Sub
)", 5000, 400, comparisons, c_bubble_sort},
    {"select_case", R"(Sub Main()
    Dim s As Long, i As Long
    For i = 1 To {N}
        Select Case i Mod 10
            Case 0
                s = s + 1
            Case 1, 2
                s = s + 2
            Case 3
                s = s + 3
            Case 4
                s = s - 1
            Case Else
                s = s + 5
        End Select
    Next
    Debug.Print s
End Sub
)", 10000000, 100000, same, c_select_case},
    {"string_building", R"(Sub Main()
    Dim s As String, i As Long, c As Long
    s = ""
    For i = 1 To {N}
        s = s & Chr(65 + i Mod 26)
        If Mid(s, i, 1) = "Z" Then c = c + InStr(i, s, "Z")
    Next
    Debug.Print c
End Sub
)", 200000, 20000, same, c_string_building},
    {"appends_len", R"(Sub Main()
    Dim s As String, i As Long, n As Long
    s = ""
    For i = 1 To {N}
        s = s & "x"
        n = Len(s)
    Next
    Debug.Print n
End Sub
)", 3000000, 30000, same, c_appends_len},
};

}  // namespace

const Workload* workloads() { return WORKLOADS; }
int workload_count() { return static_cast<int>(sizeof WORKLOADS / sizeof WORKLOADS[0]); }

std::string program(const Workload& w, long long size, bool typed) {
  std::string text = std::regex_replace(w.source, std::regex("\\{N\\}"), std::to_string(size));
  if (!typed) text = std::regex_replace(text, std::regex("\\s+As\\s+\\w+"), "");
  return text;
}

}  // namespace corvane::bench
