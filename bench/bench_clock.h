// The processor time of the calling thread: a frame's own cost, whatever else shares the machine.
#ifndef ZYPHORA_BENCH_CLOCK_H
#define ZYPHORA_BENCH_CLOCK_H

#include <ctime>

inline double threadCpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return (double)t.tv_sec + t.tv_nsec * 1e-9;
}

#endif
