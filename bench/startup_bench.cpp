// Start-up and memory of the whole program against a minimal Qt multiple-document program,
// each started as its own process (offscreen) in the same run. Startup is the time from the
// start of the process to its first painted window; Memory10Docs reports the resident size
// with ten 1920 x 1080 pictures open as the counter rss_MiB.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ProbeRun {
  bool ok = false;
  double painted_seconds = 0;  // from spawn to the "painted" line
  long rss_kb = 0;
};

// Starts the program with RANOVEH_PROBE=<mode> and reads what it reports.
ProbeRun RunProbe(const char* program, const char* mode) {
  ProbeRun run;
  int out[2];
  if (pipe(out) != 0) return run;
  std::vector<std::string> env_strings;
  for (char** e = environ; *e; ++e) {
    if (std::strncmp(*e, "RANOVEH_PROBE=", 14) == 0 || std::strncmp(*e, "QT_QPA_PLATFORM=", 16) == 0) {
      continue;
    }
    env_strings.emplace_back(*e);
  }
  env_strings.push_back(std::string("RANOVEH_PROBE=") + mode);
  env_strings.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> envp;
  for (std::string& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  // Qt's warnings about the offscreen platform would only clutter the report.
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  char* argv[] = {const_cast<char*>(program), nullptr};
  pid_t pid = 0;
  const auto start = std::chrono::steady_clock::now();
  const int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) {
    close(out[0]);
    return run;
  }
  FILE* in = fdopen(out[0], "r");
  char line[256];
  bool painted = false;
  while (in && std::fgets(line, sizeof line, in)) {
    if (!painted && std::strncmp(line, "painted", 7) == 0) {
      painted = true;
      run.painted_seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } else if (std::strncmp(line, "rss ", 4) == 0) {
      run.rss_kb = std::strtol(line + 4, nullptr, 10);
    }
  }
  if (in) std::fclose(in);
  int status = 0;
  waitpid(pid, &status, 0);
  run.ok = painted && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return run;
}

void Startup(benchmark::State& state, const char* program) {
  for (auto _ : state) {
    const ProbeRun run = RunProbe(program, "paint");
    if (!run.ok) {
      state.SkipWithError("the program did not report its first paint");
      return;
    }
    state.SetIterationTime(run.painted_seconds);
  }
}

void Memory10Docs(benchmark::State& state, const char* program) {
  long rss = 0;
  for (auto _ : state) {
    const ProbeRun run = RunProbe(program, "memory");
    if (!run.ok || run.rss_kb <= 0) {
      state.SkipWithError("the program did not report its memory");
      return;
    }
    state.SetIterationTime(run.painted_seconds);
    rss = run.rss_kb;
  }
  state.counters["rss_MiB"] = static_cast<double>(rss) / 1024.0;
}

BENCHMARK_CAPTURE(Startup, ranoveh, RANOVEH_PROGRAM_PATH)
    ->Name("Startup/ranoveh")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Startup, minimal_mdi, MINIMAL_MDI_PATH)
    ->Name("Startup/minimal-mdi")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Memory10Docs, ranoveh, RANOVEH_PROGRAM_PATH)
    ->Name("Memory10Docs/ranoveh")->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Memory10Docs, minimal_mdi, MINIMAL_MDI_PATH)
    ->Name("Memory10Docs/minimal-mdi")->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
