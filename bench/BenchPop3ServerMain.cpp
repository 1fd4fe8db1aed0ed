// The benchmark's servers on their own, to try a client or a profiler
// against them by hand:
//
//   mivo_bench_pop3_server dovecot|split-write [MESSAGES]   (default 200)
//
// Fills the mailbox of user "bench", password "bench-password", prints
// 127.0.0.1:PORT and serves until interrupted.

#include <signal.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>
#include <string>

#include "DovecotServer.h"
#include "SplitWritePop3Server.h"

namespace {

const char* const kUser = "bench";
const char* const kPassword = "bench-password";

// Until SIGINT or SIGTERM, taken here rather than by their default action so
// that the servers shut down in order and leave no files behind.
void waitForInterrupt(const sigset_t& stop) {
    int received = 0;
    sigwait(&stop, &received);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc >= 2 ? argv[1] : "";
    if (argc > 3 || (kind != "dovecot" && kind != "split-write")) {
        std::cerr << "usage: " << argv[0] << " dovecot|split-write [MESSAGES]\n";
        return 64;
    }
    try {
        const int messages = argc == 3 ? std::stoi(argv[2]) : 200;
        // Blocked before any thread starts, so that every thread leaves them
        // to sigwait. A shell starts a background job with SIGINT ignored,
        // and an ignored signal never reaches sigwait.
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        sigset_t stop;
        sigemptyset(&stop);
        sigaddset(&stop, SIGINT);
        sigaddset(&stop, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &stop, nullptr);
        if (kind == "dovecot") {
            mivo::test::DovecotServer server;
            server.addUser(kUser, kPassword);
            server.deliverMany(kUser, messages);
            server.start();
            std::cout << server.hostAndPort() << std::endl;
            waitForInterrupt(stop);
        } else {
            const mivo::bench::SplitWritePop3Server server(kUser, kPassword, messages);
            std::cout << server.hostAndPort() << std::endl;
            waitForInterrupt(stop);
        }
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::cerr << argv[0] << ": " << error.what() << '\n';
        return EXIT_FAILURE;
    }
}
