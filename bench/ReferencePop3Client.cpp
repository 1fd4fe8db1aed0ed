// The plainest POP3 client that does a check's work: log in, STAT, UIDL (its
// listing read to the end when the server has one), then one TOP n 0 at a
// time for every message, each answer read whole before the next
// command. The end-to-end benchmark holds mivo-check against it. With
// --download FILE it also fetches every message with RETR after its headers
// and writes it to FILE (one LF-ended line each, the dot a server puts before
// a line beginning with one taken off), which the download benchmark holds
// mivo-check's rule downloads against.
//
//   mivo_reference_pop3_client [--download FILE] USER PASS HOST:PORT
//                                                  (HOST a dotted address)
//   mivo_reference_pop3_client USER PASS PORT --tls CAFILE
//
// Prints the number of messages whose headers it read; over TLS (POP3S to
// 127.0.0.1:PORT, the certificate checked for "localhost" against CAFILE)
// also the microseconds its TCP connect and TLS handshake took.

#include <chrono>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Pop3LineClient.h"
#include "TlsLineClient.h"

namespace {

void expectOk(const std::string& answer, const std::string& command) {
    if (answer.rfind("+OK", 0) != 0) {
        throw std::runtime_error(command + " answered: " + answer);
    }
}

template <typename Client>
void download(Client& client, int number, std::ofstream& file) {
    const std::string retr = "RETR " + std::to_string(number);
    expectOk(client.command(retr), retr);
    for (;;) {
        const std::string line = client.readLine();
        if (line == ".") {
            break;
        }
        // A line the server began with an extra dot is saved without it.
        file << std::string_view(line).substr(line.rfind('.', 0) == 0 ? 1 : 0) << '\n';
    }
    if (!file) {
        throw std::runtime_error("cannot write the downloaded message");
    }
}

// The same lock-step conversation on either line client.
template <typename Client>
int converse(Client& client, const std::string& user, const std::string& password,
             const std::optional<std::string>& downloadFile = std::nullopt) {
    expectOk(client.readLine(), "the greeting");
    expectOk(client.command("USER " + user), "USER");
    expectOk(client.command("PASS " + password), "PASS");
    const std::string stat = client.command("STAT");
    expectOk(stat, "STAT");
    const int count = std::stoi(stat.substr(4));
    if (count > 0 && client.command("UIDL").rfind("+OK", 0) == 0) {
        while (client.readLine() != ".") {
        }
    }
    std::ofstream file;
    if (downloadFile) {
        file.open(*downloadFile, std::ios::binary | std::ios::trunc);
    }
    for (int number = 1; number <= count; ++number) {
        const std::string top = "TOP " + std::to_string(number) + " 0";
        expectOk(client.command(top), top);
        while (client.readLine() != ".") {
        }
        if (downloadFile) {
            download(client, number, file);
        }
    }
    expectOk(client.command("QUIT"), "QUIT");
    return count;
}

int run(const std::string& user, const std::string& password, const std::string& hostAndPort,
        const std::optional<std::string>& downloadFile) {
    const std::size_t colon = hostAndPort.rfind(':');
    const std::string host =
        colon == std::string::npos ? hostAndPort : hostAndPort.substr(0, colon);
    const int port = colon == std::string::npos ? 110 : std::stoi(hostAndPort.substr(colon + 1));
    mivo::test::Pop3LineClient client(host, port);
    return converse(client, user, password, downloadFile);
}

}  // namespace

int main(int argc, char** argv) {
    const bool tls = argc == 6 && std::string(argv[4]) == "--tls";
    std::optional<std::string> downloadFile;
    int first = 1;
    if (!tls && argc == 6 && std::string(argv[1]) == "--download") {
        downloadFile = argv[2];
        first = 3;
    }
    if (!tls && argc - first != 3) {
        std::cerr << "usage: " << argv[0]
                  << " [--download FILE] USER PASS HOST:PORT | USER PASS PORT --tls CAFILE\n";
        return 64;
    }
    try {
        if (tls) {
            mivo::bench::TlsLineClient client(std::stoi(argv[3]), argv[5]);
            const int count = converse(client, argv[1], argv[2]);
            std::cout << count << ' '
                      << std::chrono::duration_cast<std::chrono::microseconds>(
                             client.handshakeTime())
                             .count()
                      << '\n';
            return EXIT_SUCCESS;
        }
        std::cout << run(argv[first], argv[first + 1], argv[first + 2], downloadFile) << '\n';
        return EXIT_SUCCESS;
    } catch (const std::exception& error) {
        std::cerr << argv[0] << ": " << error.what() << '\n';
        return EXIT_FAILURE;
    }
}
