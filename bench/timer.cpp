// Times, inside Windows, each way of starting the installer (the x86-64
// build in the medium's 64bit\ folder): from just before CreateProcess to
// the end of the wait, round after round, the ways interleaved so that a
// drift of the machine touches all of them alike.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const DWORD InstallerStatus = 7;
const char ForwardedArgument[] = "--bench-arg";

enum PathIndex : std::size_t {
    Direct,
    Launcher,
    Batch,
    Floor,
    FloorCrt,
    IdleBare,
    IdleDll,
    IdleCrt,
    IdleLookup,
    IdleCxx,
    IdleManifest,
    IdleCmd,
    PathCount,
};

struct StartPath {
    const char* name;
    std::string file;
    std::string commandLine;
    std::vector<double> milliseconds;
};

struct Summary {
    double median;
    double p10;
    double p90;
    double minimum;
};

double frequency = 0.0;

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

StartPath Program(const char* name, const std::string& file)
{
    return StartPath{name, file, Quoted(file) + " " + ForwardedArgument, {}};
}

std::string CommandInterpreter()
{
    char directory[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        std::fprintf(stderr, "bench: no system directory\n");
        std::exit(1);
    }
    return std::string(directory) + "\\cmd.exe";
}

// Returns the time in milliseconds; ends the run on any start that fails or
// does not come back with the installer's status.
double TimeStart(const StartPath& path)
{
    std::vector<char> commandLine(path.commandLine.begin(), path.commandLine.end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};

    LARGE_INTEGER before;
    LARGE_INTEGER after;
    QueryPerformanceCounter(&before);
    if (!CreateProcessA(path.file.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "bench: %s: could not start %s (error %lu)\n", path.name, path.file.c_str(),
                     GetLastError());
        std::exit(1);
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    QueryPerformanceCounter(&after);

    DWORD status = 0;
    const BOOL known = GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!known || status != InstallerStatus) {
        std::fprintf(stderr, "bench: %s: exit status %lu, expected %lu\n", path.name, status, InstallerStatus);
        std::exit(1);
    }
    return static_cast<double>(after.QuadPart - before.QuadPart) * 1000.0 / frequency;
}

// Nearest rank on sorted times.
double Percentile(const std::vector<double>& sorted, double fraction)
{
    std::size_t rank = static_cast<std::size_t>(fraction * static_cast<double>(sorted.size()) + 0.999999);
    if (rank < 1) rank = 1;
    return sorted[rank - 1];
}

Summary Summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const std::size_t middle = times.size() / 2;
    const double median = times.size() % 2 == 1 ? times[middle] : (times[middle - 1] + times[middle]) / 2.0;
    return Summary{median, Percentile(times, 0.10), Percentile(times, 0.90), times.front()};
}

// Every round times every path once, so the times line up by round.
double PairedMedian(const StartPath& path, const StartPath& direct)
{
    std::vector<double> differences;
    for (std::size_t round = 0; round < path.milliseconds.size(); ++round) {
        differences.push_back(path.milliseconds[round] - direct.milliseconds[round]);
    }
    return Summarise(differences).median;
}

void RunRounds(std::vector<StartPath>& paths, long warmUp, long rounds, DWORD pause)
{
    const std::size_t count = paths.size();
    for (long round = -warmUp; round < rounds; ++round) {
        // Each way leads in turn, so none is always the one after the
        // same neighbour.
        const std::size_t first = static_cast<std::size_t>(round + warmUp) % count;
        for (std::size_t turn = 0; turn < count; ++turn) {
            StartPath& path = paths[(first + turn) % count];
            // Wine finishes tearing down an exited process after its
            // parent's wait has returned; the pause keeps that work from
            // landing in the next start's time.
            Sleep(pause);
            const double time = TimeStart(path);
            if (round >= 0) path.milliseconds.push_back(time);
        }
    }
}

const char* Verdict(bool met)
{
    return met ? "met" : "MISSED";
}

long Count(const char* text, const char* what)
{
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0) {
        std::fprintf(stderr, "bench: %s must be a whole number, not \"%s\"\n", what, text);
        std::exit(2);
    }
    return value;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: timer MEDIUM-FOLDER ROUNDS WARM-UP-ROUNDS PAUSE-MS\n");
        return 2;
    }
    const std::string medium = argv[1];
    const long rounds = Count(argv[2], "ROUNDS");
    const long warmUp = Count(argv[3], "WARM-UP-ROUNDS");
    const DWORD pause = static_cast<DWORD>(Count(argv[4], "PAUSE-MS"));
    if (rounds < 1) {
        std::fprintf(stderr, "bench: at least one round is needed\n");
        return 2;
    }
    LARGE_INTEGER ticks;
    QueryPerformanceFrequency(&ticks);
    frequency = static_cast<double>(ticks.QuadPart);

    const std::string batchFile = medium + "\\setup.bat";
    std::vector<StartPath> paths(PathCount);
    paths[Direct] = Program("direct 64bit\\setup.exe", medium + "\\64bit\\setup.exe");
    paths[Launcher] = Program("launcher.exe", medium + "\\launcher.exe");
    // cmd /c strips the outer quotes and runs the rest as typed.
    paths[Batch] = StartPath{"setup.bat (cmd /c)", CommandInterpreter(),
                             "cmd.exe /c \"" + Quoted(batchFile) + " " + ForwardedArgument + "\"", {}};
    paths[Floor] = Program("floor launcher", medium + "\\floor.exe");
    paths[FloorCrt] = Program("floor + C runtime", medium + "\\floor_crt.exe");
    paths[IdleBare] = Program("idle, bare i686", medium + "\\idle_bare.exe");
    paths[IdleDll] = Program("idle, msvcrt.dll loaded", medium + "\\idle_dll.exe");
    paths[IdleCrt] = Program("idle, C runtime start-up", medium + "\\idle_crt.exe");
    paths[IdleLookup] = Program("idle, libgcc DLL lookup", medium + "\\idle_lookup.exe");
    paths[IdleCxx] = Program("idle, static libstdc++", medium + "\\idle_cxx.exe");
    paths[IdleManifest] = Program("idle, launcher manifest", medium + "\\idle_manifest.exe");
    paths[IdleCmd] = StartPath{"idle, cmd /c exit 7", CommandInterpreter(), "cmd.exe /c exit 7", {}};

    RunRounds(paths, warmUp, rounds, pause);

    std::vector<double> medians;
    std::printf("Starts timed inside Wine, CreateProcessA to the end of WaitForSingleObject:\n");
    std::printf("%ld rounds after %ld warm-up rounds, the order rotated each round, %lu ms of pause\n", rounds,
                warmUp, pause);
    std::printf("before each start; every start came back with the installer's status %lu.\n\n", InstallerStatus);
    std::printf("%-26s %9s %9s %9s %9s %10s %10s\n", "start path (ms)", "median", "p10", "p90", "min", "overhead",
                "paired");
    const double directMedian = Summarise(paths[Direct].milliseconds).median;
    for (std::size_t index = 0; index < paths.size(); ++index) {
        const Summary summary = Summarise(paths[index].milliseconds);
        medians.push_back(summary.median);
        if (index == IdleBare) std::printf("starting no child, started directly like the installer:\n");
        std::printf("%-26s %9.3f %9.3f %9.3f %9.3f %+10.3f %+10.3f\n", paths[index].name, summary.median, summary.p10,
                    summary.p90, summary.minimum, summary.median - directMedian,
                    PairedMedian(paths[index], paths[Direct]));
    }
    std::printf("overhead = median - median of the direct start; paired = median over the rounds of\n");
    std::printf("(this start - the direct start of the same round), a cross-check less swayed by drift\n\n");

    const double launcher = medians[Launcher] - directMedian;
    const double batch = medians[Batch] - directMedian;
    const double floor = medians[Floor] - directMedian;
    const double toFloor = launcher / floor;
    const double toBatch = launcher / batch;
    std::printf("launcher overhead %.3f ms, batch file overhead %.3f ms, floor overhead %.3f ms\n", launcher, batch,
                floor);
    std::printf("launcher overhead / floor overhead: %.3f  (target <= 1.15: %s)\n", toFloor, Verdict(toFloor <= 1.15));
    std::printf("launcher overhead / batch overhead: %.3f  (target <= 0.50: %s)\n", toBatch, Verdict(toBatch <= 0.5));
    std::printf("floor overhead / batch overhead:    %.3f  (the least any launcher could reach)\n", floor / batch);

    // Each layer is the difference between two i686 programs that start no
    // child, as the launcher and the floor are i686 programs; what they do
    // not explain is the launcher's own code, and noise.
    const double bare = medians[IdleBare];
    const double dll = medians[IdleDll] - bare;
    const double crt = medians[IdleCrt] - medians[IdleDll];
    const double cxx = medians[IdleCxx] - medians[IdleCrt];
    const double manifest = medians[IdleManifest] - bare;
    const double rest = launcher - floor - dll - crt - cxx - manifest;
    std::printf("\nlauncher.exe's extra over the floor, %.3f ms, by layer of start-up (medians):\n", launcher - floor);
    std::printf("  loading msvcrt.dll                          %+7.3f ms\n", dll);
    std::printf("  the C runtime's start-up and exit           %+7.3f ms\n", crt);
    std::printf("    of which its lookup of libgcc's DLL       %+7.3f ms\n", medians[IdleLookup] - bare);
    std::printf("  static libstdc++ and the larger image       %+7.3f ms\n", cxx);
    std::printf("  the manifest (an activation context)        %+7.3f ms\n", manifest);
    std::printf("  left, not explained by the idle programs    %+7.3f ms\n", rest);
    std::printf("  cross-check: the floor's own code behind the C runtime costs %+.3f ms over the floor\n",
                medians[FloorCrt] - medians[Floor]);
    std::printf("  and %+.3f ms over launcher.exe\n", medians[FloorCrt] - medians[Launcher]);
    std::printf("  a lone cmd.exe start is %.3f ms of the batch file's %.3f ms\n", medians[IdleCmd] - directMedian,
                batch);
    std::printf("  the bare i686 program takes %+.3f ms over the direct start of the x86-64 installer\n",
                bare - directMedian);
    return 0;
}
