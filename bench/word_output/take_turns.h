// What the report and table benchmarks share: a clock, one measured run, the fixtures' folder,
// and the turns the two clients take.
#pragma once
#include <windows.h>

#include <cstdio>
#include <string>
#include <utility>

#include "com_test_env.h"
#include "word_standin_control.h"

namespace quorrel_bench {

struct Run {
  double seconds = 0;
  size_t calls = 0;    // calls Word received, from the stand-in's journal
  size_t lookups = 0;  // names Word was asked to resolve (GetIDsOfNames)
};

inline double Now() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / frequency.QuadPart;
}

// Runs `work` and measures it: its time and what Word received meanwhile.
template <class Work>
Run Measure(const testing_support::WordStandinSetup& standin, Work work) {
  const size_t calls = standin.Journal().size(), lookups = standin.Lookups().size();
  const double start = Now();
  work();
  Run r;
  r.seconds = Now() - start;
  r.calls = standin.Journal().size() - calls;
  r.lookups = standin.Lookups().size() - lookups;
  return r;
}

// Both runs, with the calls Word received per `unit` (a page, a cell: `units` of them).
inline void PrintComparison(const Run& direct, const Run& library, double units,
                            const char* unit) {
  const std::pair<const char*, Run> runs[] = {{"direct client", direct},
                                              {"WordPrintOut ", library}};
  for (const auto& [who, run] : runs) {
    std::printf("  %s : %8.3f s  %6.2f calls/%s  %3zu name lookups\n", who, run.seconds,
                run.calls / units, unit, run.lookups);
  }
  const double ratio = library.seconds / direct.seconds;
  std::printf("  ratio library/direct: %.3f (%+.1f %%)\n", ratio, (ratio - 1) * 100);
}

// <build>\tests\fixtures\, seen from <build>\bench\.
inline std::wstring FixtureDir() {
  const std::wstring exe = testing_support::ExeDir();
  return exe.substr(0, exe.size() - 6) + L"tests\\fixtures\\";
}

// The two clients take turns, twice, and the better run of each is kept: neither a warm-up nor
// a passing load on the machine decides the ratio. Each run starts a Word of its own, and the
// last one is gone before the next run starts.
template <class Direct, class Library>
void TakeTurns(Direct direct, Library library, Run* best_direct, Run* best_library) {
  for (int round = 0; round < 2; ++round) {
    const Run d = direct();
    testing_support::WaitForNoStandinProcess(10000);
    const Run l = library();
    testing_support::WaitForNoStandinProcess(10000);
    if (round == 0 || d.seconds < best_direct->seconds) *best_direct = d;
    if (round == 0 || l.seconds < best_library->seconds) *best_library = l;
  }
}

}  // namespace quorrel_bench
