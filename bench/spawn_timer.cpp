// Times programs from process start to the line "shown" on their stdout,
// many times, taking turns so that a change in the machine's load hits every
// program alike. No Qt here: the timer must not weigh on what it measures.
//   spawn_timer RUNS --label NAME PROGRAM [ARGS...] [--label NAME PROGRAM ...]
// A program's line may carry the CPU time it had used by then: "shown MS".
// Prints one line per program:
//   NAME median_ms min_ms max_ms cpu_median_ms runs
// One warm-up round (page cache, font cache) is run first and not counted.
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Program
{
    std::string label;
    std::vector<std::string> argv;
    std::vector<double> ms;
    std::vector<double> cpuMs;
};

struct Timing
{
    double wallMs = -1; // negative when the program failed
    double cpuMs = 0;
};

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double nowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// From spawning to "shown".
Timing timeOnce(const Program& p)
{
    Timing t;
    int out[2];
    if (pipe(out) != 0)
        return t;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    std::vector<char*> args;
    for (const std::string& a : p.argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    pid_t pid = 0;
    const double start = nowMs();
    const int rc = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        std::fprintf(stderr, "spawn_timer: cannot start %s: %s\n", args[0], std::strerror(rc));
        return t;
    }
    double shownAt = -1;
    std::string line;
    char buffer[512];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0) {
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] != '\n') {
                line += buffer[i];
                continue;
            }
            if (line.compare(0, 5, "shown") == 0 && shownAt < 0) {
                shownAt = nowMs();
                t.cpuMs = std::atof(line.c_str() + 5);
            }
            line.clear();
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || shownAt < 0) {
        std::fprintf(stderr, "spawn_timer: %s did not report \"shown\" (status %d)\n",
            p.label.c_str(), status);
        return t;
    }
    t.wallMs = shownAt - start;
    return t;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 0;
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--label") == 0 && i + 1 < argc) {
            programs.push_back({ argv[++i], {}, {}, {} });
            continue;
        }
        if (programs.empty())
            break;
        programs.back().argv.push_back(argv[i]);
    }
    if (runs < 1 || programs.empty()
        || std::any_of(
            programs.begin(), programs.end(), [](const Program& p) { return p.argv.empty(); })) {
        std::fprintf(stderr, "usage: spawn_timer RUNS --label NAME PROGRAM [ARGS...] ...\n");
        return 2;
    }

    for (int round = 0; round <= runs; ++round) {
        for (Program& p : programs) {
            const Timing t = timeOnce(p);
            if (t.wallMs < 0)
                return 1;
            if (round > 0) {
                p.ms.push_back(t.wallMs);
                p.cpuMs.push_back(t.cpuMs);
            }
        }
    }
    for (const Program& p : programs) {
        const auto [lo, hi] = std::minmax_element(p.ms.begin(), p.ms.end());
        std::printf("%s %.2f %.2f %.2f %.2f %zu\n", p.label.c_str(), median(p.ms), *lo, *hi,
            median(p.cpuMs), p.ms.size());
    }
    return 0;
}
