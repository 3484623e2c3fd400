// The isolated child runner: forks, bounds the child's time, memory and output, and collects
// what it writes.
#include "data/JetImport.h"

#include "data/jet/JetFile.h"
#include "data/jet/WorkWatch.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace JetImport {

namespace Isolation {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExitFailed = 3;
constexpr int kExitCalledByLibrary = 4;
constexpr int kExitTooMuchWork = 5;
constexpr auto kProgressEvery = std::chrono::milliseconds(100);

// A library that calls exit() in the child would run the parent's exit handlers and flush its
// output a second time; this handler, registered last, runs first and leaves at once.
void LeaveAtOnce() {
    ::_exit(kExitCalledByLibrary);
}

// Bounds the child's memory: a damaged length or a looping chain inside libmdb would otherwise
// let it grow until the system runs short. The allowance is generous against the largest
// result the parent accepts.
void LimitMemory(qint64 maxOutput) {
    // Plain system calls: the child keeps away from anything another thread may have held.
    char text[64] = {};
    long pages = 0;
    const int statm = ::open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (statm >= 0) {
        if (::read(statm, text, sizeof text - 1) > 0)
            pages = std::strtol(text, nullptr, 10);
        ::close(statm);
    }
    if (pages <= 0)
        return;
    const rlim_t current = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE));
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) != 0)
        return;
    const rlim_t wanted =
        current + (rlim_t(512) << 20) + 8 * rlim_t(std::max<qint64>(maxOutput, 0));
    if (limit.rlim_max == RLIM_INFINITY || wanted < limit.rlim_max) {
        limit.rlim_cur = wanted;
        ::setrlimit(RLIMIT_AS, &limit);
    }
}

void PrepareChild(std::chrono::milliseconds timeLimit, qint64 maxOutput) {
    sigset_t none;
    sigemptyset(&none);
    ::pthread_sigmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGALRM, SIGTERM, SIGINT, SIGHUP,
                  SIGXFSZ, SIGXCPU})
        ::signal(s, SIG_DFL);
    ::signal(SIGPIPE, SIG_IGN);
    // libmdb reports damage on stderr; the parent tells the user instead.
    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            ::dup2(devNull, fd);
        if (devNull > STDERR_FILENO)
            ::close(devNull);
    }
    std::atexit(LeaveAtOnce);
    LimitMemory(maxOutput);
    // Nor may it fill a file (the shared memory of an import is one) beyond what is accepted.
    struct rlimit fileSize {};
    if (::getrlimit(RLIMIT_FSIZE, &fileSize) == 0 && maxOutput > 0 &&
        (fileSize.rlim_max == RLIM_INFINITY || rlim_t(maxOutput) < fileSize.rlim_max)) {
        fileSize.rlim_cur = rlim_t(maxOutput);
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
    }
    // Should the parent die without killing it, the child still ends.
    ::alarm(unsigned(timeLimit.count() / 1000 + 2));
}

// Kills and reaps the child on every way out of Run.
class ChildProcess {
public:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (reaped_)
            return;
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, nullptr, 0) < 0 && errno == EINTR) {
        }
    }

    enum class Ended { WithStatus, UnknownStatus, NotYet };

    Ended WaitUntil(Clock::time_point deadline, int& status) {
        for (;;) {
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                reaped_ = true;
                return Ended::WithStatus;
            }
            if (r < 0 && errno != EINTR) {
                // Someone else reaped it (SIGCHLD ignored): the output has to speak for it.
                reaped_ = true;
                return Ended::UnknownStatus;
            }
            if (Clock::now() >= deadline)
                return Ended::NotYet;
            ::usleep(500);
        }
    }

private:
    pid_t pid_;
    bool reaped_ = false;
};

} // namespace

WatchedWork::~WatchedWork() {
    WorkWatch::End();
}

WatchedWork WatchWork(const volatile unsigned long* done, unsigned long budget,
                      unsigned long expected) {
    WorkWatch::Begin(done, budget, expected, kExitTooMuchWork);
    return WatchedWork();
}

void CheckWork() {
    WorkWatch::CheckNow();
}

namespace {

[[noreturn]] void WorkInChild(const ChildWork& work, int out, std::chrono::milliseconds timeLimit,
                              qint64 maxOutput, WorkWatch::SharedCounter& counter) {
    PrepareChild(timeLimit, maxOutput);
    WorkWatch::UseShared(counter.Get());
    bool ok = false;
    try {
        ok = work(out);
    } catch (...) {
        ok = false;
    }
    ::_exit(ok ? 0 : kExitFailed);
}

// Collects what the child writes until it closes its end, telling how far it has come meanwhile.
// False when the reading stops before that; result.outcome then says why.
bool ReadOutput(int fd, Clock::time_point deadline, qint64 maxOutput, const Progress& progress,
                WorkWatch::SharedCounter& counter, Result& result) {
    std::vector<char> buffer(size_t(1) << 16);
    Clock::time_point nextReport = Clock::now();
    for (;;) {
        const Clock::time_point now = Clock::now();
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        if (left <= 0) {
            result.outcome = Outcome::TimedOut;
            return false;
        }
        if (progress && now >= nextReport) {
            progress(counter.Fraction());
            nextReport = now + kProgressEvery;
        }
        const long long wait = progress ? std::min<long long>(left, kProgressEvery.count()) : left;
        pollfd pfd{fd, POLLIN, 0};
        const int ready = ::poll(&pfd, 1, int(std::min<long long>(wait, INT_MAX)));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            if (ready < 0)
                return false;
            continue;
        }
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            return n == 0;
        if (result.output.size() + n > maxOutput) {
            result.output.clear();
            result.outcome = Outcome::TooMuchOutput;
            return false;
        }
        result.output.append(buffer.data(), qsizetype(n));
    }
}

// How the child ended, once it has closed its output.
Outcome HowItEnded(ChildProcess& child, Clock::time_point deadline) {
    int status = 0;
    switch (child.WaitUntil(deadline, status)) {
    case ChildProcess::Ended::NotYet:
        return Outcome::TimedOut;
    case ChildProcess::Ended::UnknownStatus:
        return Outcome::Finished;
    case ChildProcess::Ended::WithStatus:
        break;
    }
    if (WIFSIGNALED(status))
        return WTERMSIG(status) == SIGALRM ? Outcome::TimedOut : Outcome::Crashed;
    if (WIFEXITED(status) && WEXITSTATUS(status) == kExitTooMuchWork)
        return Outcome::TooMuchWork;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? Outcome::Finished : Outcome::Failed;
}

} // namespace

Result Run(const ChildWork& work, std::chrono::milliseconds timeLimit, qint64 maxOutput,
           const Progress& progress) {
    Result result;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return result;
    UniqueFd readEnd(fds[0]);
    UniqueFd writeEnd(fds[1]);
    // Fewer, larger transfers for a large dictionary; the default size works as well.
    ::fcntl(fds[1], F_SETPIPE_SZ, 1 << 20);
    std::fflush(nullptr); // the child must not inherit half-written output and repeat it
    const Clock::time_point deadline = Clock::now() + timeLimit;
    WorkWatch::SharedCounter counter;
    const pid_t pid = ::fork();
    if (pid < 0)
        return result;
    if (pid == 0) {
        ::close(fds[0]);
        WorkInChild(work, fds[1], timeLimit, maxOutput, counter);
    }
    writeEnd.Reset();
    ChildProcess child(pid);
    if (!ReadOutput(readEnd.Get(), deadline, maxOutput, progress, counter, result))
        return result;
    result.outcome = HowItEnded(child, deadline);
    if (result.outcome != Outcome::Finished)
        result.output.clear();
    return result;
}

} // namespace Isolation

} // namespace JetImport
