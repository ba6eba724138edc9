// loopback_relay: the benchmarks' relay on its own, to try a client through a slow line
// by hand. It ends by itself after the given time, or on Ctrl+C, and prints its counts.
//
//   loopback_relay [--delay ms] [--port n] [--target n] [--seconds n]
//
// defaults: 1 ms each way, a free port, target 3050, 300 seconds.
#include "database/testing/relay/LoopbackRelay.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

void interrupt(int)
{
    gInterrupted = 1;
}

struct TArgs
{
    long delayMs = 1;
    long port = 0;
    long target = 3050;
    long seconds = 300;
};

bool parseNumber(const char *text, long highest, long &value)
{
    char *end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= 0 && value <= highest;
}

bool parseArgs(int argc, char **argv, TArgs &args)
{
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc)
            return false;
        long *target = std::strcmp(argv[i], "--delay") == 0 ? &args.delayMs
            : std::strcmp(argv[i], "--port") == 0           ? &args.port
            : std::strcmp(argv[i], "--target") == 0         ? &args.target
            : std::strcmp(argv[i], "--seconds") == 0        ? &args.seconds
                                                            : nullptr;
        if (target == nullptr || !parseNumber(argv[i + 1], 65535, *target))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    TArgs args;
    if (!parseArgs(argc, argv, args)) {
        std::fprintf(stderr, "usage: %s [--delay ms] [--port n] [--target n] [--seconds n]\n", argv[0]);
        return 2;
    }
    std::signal(SIGINT, interrupt);
    std::signal(SIGTERM, interrupt);
    try {
        TLoopbackRelay relay(std::chrono::milliseconds(args.delayMs), std::uint16_t(args.target));
        relay.start(std::uint16_t(args.port));
        std::printf("relaying 127.0.0.1:%u to 127.0.0.1:%ld, %ld ms each way, for %ld s\n", relay.port(), args.target,
                    args.delayMs, args.seconds);
        std::fflush(stdout);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(args.seconds);
        while (!gInterrupted && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        relay.stop();
        std::printf("requests: %lld, replies: %lld\n", static_cast<long long>(relay.requests()),
                    static_cast<long long>(relay.replies()));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "loopback_relay: %s\n", e.what());
        return 1;
    }
    return 0;
}
