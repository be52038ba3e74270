// The workloads measured side by side: each as a BASIC program (typed;
// the untyped form drops every "As" type) and as hand-written C. {N} is
// the size; `rounds` turns a size into the count that times are divided by.
#pragma once
#include <string>

namespace corvane::bench {

struct Workload {
  const char* name;
  const char* source;        // Sub Main printing one result line
  long long native_size;     // size for native programs and C: runs of 10 ms and more,
                             // well above the noise of starting a process
  long long interpreter_size;  // smaller where the interpreter would take minutes
  long long (*rounds)(long long size);
  long long (*hand_written)(long long size);  // the result Main prints
};

const Workload* workloads();
int workload_count();

// The program text for a size, typed or with every declared type removed.
std::string program(const Workload& w, long long size, bool typed);

}  // namespace corvane::bench
