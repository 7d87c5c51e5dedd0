// The simulator as a program: its command line, its log, its stop and its
// connections, spawned on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <list>
#include <sstream>

#include "SimProcess.h"
#include "TestFiles.h"
#include "link/Protocol.h"
#include "measure/WaveformFile.h"

namespace kov::sim {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::SimProcess;

struct Outcome {
  int status = -1;  // -1: still running at the deadline, or killed
  std::string out;
  std::string err;
};

// Runs the simulator to its end, 10 s at most, with its output caught.
Outcome RunSim(std::vector<std::string> options) {
  std::vector<std::string> args = {SimProcess::Path()};
  args.insert(args.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  pid_t pid = -1;
  const bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);

  Outcome outcome;
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* texts[2] = {&outcome.out, &outcome.err};
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  for (int open = 2; spawned && open > 0 && std::chrono::steady_clock::now() < deadline;) {
    if (poll(fds, 2, 100) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) texts[i]->append(buffer, static_cast<std::size_t>(n));
      if (n <= 0) fds[i].fd = -1, --open;
    }
  }
  close(out[0]);
  close(err[0]);
  if (!spawned) return outcome;
  int status = 0;
  pid_t ended = 0;
  while ((ended = waitpid(pid, &status, WNOHANG)) == 0 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  if (ended == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return outcome;
  }
  outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

// One instrument client on 127.0.0.1.
class Client {
 public:
  explicit Client(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~Client() { close(fd_); }

  bool Connected() const { return connected_; }
  // Blocks until every byte is sent; false when the connection failed.
  bool Send(const std::string& bytes) {
    return send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) == std::ssize(bytes);
  }

  // Until the reply's closing "/ " line, the end of the stream or 5 s.
  std::string Reply() {
    std::string reply;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::count(reply.begin(), reply.end(), '/') < 2 &&
           std::chrono::steady_clock::now() < deadline) {
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t n = recv(fd_, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      reply.append(buffer, static_cast<std::size_t>(n));
    }
    return reply;
  }

 private:
  int fd_;
  bool connected_ = false;
};

// The frequencies of the reply's entries.
std::vector<double> Frequencies(const std::string& reply) {
  std::vector<double> mhz;
  std::istringstream lines(reply);
  for (std::string line; std::getline(lines, line);) {
    if (line.size() > 10 && line[0] == 'F') mhz.push_back(std::stod(line.substr(1, 9)));
  }
  return mhz;
}

void ExpectBand(const std::string& reply, double lowMHz) {
  const std::vector<double> mhz = Frequencies(reply);
  ASSERT_EQ(mhz.size(), 320u) << reply.substr(0, 200);
  EXPECT_EQ(mhz.front(), lowMHz);
  EXPECT_LT(mhz.back(), lowMHz + 10.0);
}

struct Refused {
  std::vector<std::string> options;
  std::string says;  // in the message
};

void PrintTo(const Refused& refused, std::ostream* os) {
  for (const auto& option : refused.options) *os << option << ' ';
}

class SimOptionsTest : public ::testing::TestWithParam<Refused> {
 protected:
  void SetUp() override {
    if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  }
};

TEST_P(SimOptionsTest, RefusesTheValue) {
  const Outcome outcome = RunSim(GetParam().options);
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_NE(outcome.err.find(GetParam().says), std::string::npos) << outcome.err;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SimOptionsTest,
    ::testing::Values(Refused{{"--port", "abc"}, "--port: 'abc' is not a whole number"},
                      Refused{{"--port", "70000"}, "--port: 70000 is outside 0 to 65535"},
                      Refused{{"--port", "1000l"}, "--port: '1000l' is not a whole number"},
                      Refused{{"--port", "-1"}, "--port: -1 is outside"},
                      Refused{{"--port", "0x10"}, "--port: '0x10' is not"},
                      Refused{{"--port", " 80"}, "--port: ' 80' is not"},
                      Refused{{"--reply-delay-ms", "-1"}, "--reply-delay-ms: -1 is outside"},
                      Refused{{"--chunk-gap-ms", "-5"}, "--chunk-gap-ms: -5 is outside"},
                      Refused{{"--chunk-bytes", "1k"}, "--chunk-bytes: '1k' is not"},
                      Refused{{"--entries", "2.5"}, "--entries: '2.5' is not"},
                      Refused{{"--close-after", "-1"}, "--close-after: -1 is outside"},
                      Refused{{"--seed", "-1"}, "--seed: -1 is outside"},
                      Refused{{"--seed", "4294967296"}, "--seed: 4294967296 is outside"},
                      Refused{{"--port"}, "--port"}, Refused{{"--ports", "1"}, "--ports"},
                      Refused{{"--replay", "WFdata.txt"}, "--replay requires --start"},
                      Refused{{"--start", "450"}, "--start requires --replay"},
                      Refused{{"--replay", "WFdata.txt", "--start", "4.5e2"},
                              "--start: '4.5e2' is not a whole number"},
                      Refused{{"--replay", "WFdata.txt", "--start", "451"},
                              "--start: 451 is not a multiple of 10: the program starts its "
                              "bands at 450 for 451"}));

TEST_F(SimOptionsTest, HelpNamesEveryOption) {
  const Outcome outcome = RunSim({"--help"});
  EXPECT_EQ(outcome.status, 0);
  for (const char* option :
       {"--port", "--log", "--reply-delay-ms", "--chunk-bytes", "--chunk-gap-ms", "--entries",
        "--silent", "--answer-repeat-only", "--no-marker", "--close-after", "--cf-reply", "--seed",
        "--replay", "--start"}) {
    EXPECT_NE(outcome.out.find(option), std::string::npos) << option;
  }
}

TEST_F(SimOptionsTest, BusyPortLeavesTheLogAlone) {
  SimProcess first;
  ASSERT_TRUE(first.Running());
  const fs::path log = fs::temp_directory_path() / ("xport-sim-busy-" + std::to_string(getpid()));
  std::ofstream(log, std::ios::binary) << "0 CF455\\r\\n\n";

  const std::string port = std::to_string(first.Port());
  const Outcome second = RunSim({"--port", port, "--log", log.string()});
  EXPECT_EQ(second.status, 1);
  EXPECT_NE(second.err.find("127.0.0.1:" + port), std::string::npos) << second.err;
  EXPECT_EQ(testing::Slurp(log), "0 CF455\\r\\n\n");
  fs::remove(log);
}

// A recording of two passes over band 1, point 2 without data in pass 2.
std::string TwoPassRecording() {
  std::string text = "\r\n";
  for (std::int16_t pass = 1; pass <= 2; ++pass) {
    for (int k = 1; k <= 320; ++k) {
      measure::AppendPointLine(text, pass, k, pass == 2 && k == 2 ? "00" : link::LevelText(-pass));
    }
    text += "\r\n";
  }
  return text;
}

// Read before the port is taken: a file that cannot be replayed ends the
// simulator with the reason, before it listens.
TEST_F(SimOptionsTest, ReplayOfAMissingOrBadFileEndsBeforeListening) {
  const testing::TempDir dir;
  const std::string path = dir.File("WFdata.txt");
  using namespace std::string_literals;
  for (const auto& [text, says] : {std::pair<std::string, std::string>{"", "No such file"},
                                   {" 1,  1,-001 \r\n", "line 1: the file ends: band 1"},
                                   {" 1,\0 1\x1B[2J,-001\x7F\r\n"s,
                                    "line 1: not a point line (pass, point, level): "
                                    "\" 1,\\x00 1\\x1B[2J,-001\\x7F\"\n"}}) {
    if (!text.empty()) testing::Spit(path, text);
    const Outcome outcome = RunSim({"--port", "0", "--replay", path, "--start", "450"});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err.rfind("xport-sim: " + path + ": " + says, 0), 0u) << outcome.err;
  }
}

// Each connection counts the replies of each band on its own: the Nth reply
// of a band is the recording's pass N of that band, looping after the last.
TEST(SimReplay, AnswersPassAfterPassPerBandAndConnection) {
  if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  const testing::TempDir dir;
  testing::Spit(dir / "WFdata.txt", TwoPassRecording());
  SimProcess sim({"--replay", dir.File("WFdata.txt"), "--start", "450"});
  ASSERT_TRUE(sim.Running());
  Client first(sim.Port());
  Client second(sim.Port());
  ASSERT_TRUE(first.Connected() && second.Connected());

  const auto pointTwo = [](Client& client, const char* commands) {
    client.Send(commands);
    const link::BandLevels levels = link::SplitGDReply(client.Reply());
    EXPECT_EQ(std::count(levels.begin(), levels.end(), levels[0]), levels[1] ? 320 : 319);
    return levels[1].value_or("00");
  };
  EXPECT_EQ(pointTwo(first, "CF455\r\nGD\r\n"), "-001 ");
  EXPECT_EQ(pointTwo(first, "CF465\r\nGD\r\n"), "-100 ") << "a band not recorded";
  EXPECT_EQ(pointTwo(first, "CF455\r\nGD\r\n"), "00");
  EXPECT_EQ(pointTwo(second, "CF455\r\nGD\r\n"), "-001 ");
  EXPECT_EQ(pointTwo(first, "GD\r\n"), "-001 ");
}

struct StopCase {
  const char* name;
  int signal;
  std::vector<std::string> options;
};

void PrintTo(const StopCase& stop, std::ostream* os) { *os << stop.name; }

class SimStopTest : public ::testing::TestWithParam<StopCase> {};

// A signal in the middle of a long wait before or inside a reply, with the
// client waiting for it, ends the simulator at once; what the client sent is
// logged, and the reply is not finished.
TEST_P(SimStopTest, EndsInTheMiddleOfAWait) {
  if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  SimProcess sim(GetParam().options);
  ASSERT_TRUE(sim.Running());
  Client client(sim.Port());
  ASSERT_TRUE(client.Connected());
  client.Send("CF455\r\nGD\r\n");
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (sim.Commands().size() < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  client.Send("EX\r\n");

  EXPECT_EQ(sim.StopWith(GetParam().signal, 5s), 0);
  EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"CF455\r\n", "GD\r\n", "EX\r\n"}));
  EXPECT_LT(Frequencies(client.Reply()).size(), 320u);
}

const std::vector<std::string> kLongDelay = {"--reply-delay-ms", "60000"};
const std::vector<std::string> kLongGap = {"--chunk-bytes", "100", "--chunk-gap-ms", "60000"};

INSTANTIATE_TEST_SUITE_P(Waits, SimStopTest,
                         ::testing::Values(StopCase{"SIGTERMInReplyDelay", SIGTERM, kLongDelay},
                                           StopCase{"SIGINTInReplyDelay", SIGINT, kLongDelay},
                                           StopCase{"SIGTERMInChunkGap", SIGTERM, kLongGap},
                                           StopCase{"SIGINTInChunkGap", SIGINT, kLongGap}),
                         [](const auto& info) { return std::string(info.param.name); });

// The simulator's peak resident memory in KiB, from /proc.
long PeakKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// 40 MiB without CR LF cost no more than one command's room: dropped up to
// the CR LF with one note in the log, and the next command answered.
TEST(SimSessions, DropsALineTooLongAndAnswersTheNextCommand) {
  if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  SimProcess sim;
  ASSERT_TRUE(sim.Running());
  Client client(sim.Port());
  ASSERT_TRUE(client.Connected());
  const long before = PeakKiB(sim.Pid());
  ASSERT_TRUE(client.Send(std::string(40 << 20, 'A') + "\r\nCF455\r\nGD\r\n"));
  ExpectBand(client.Reply(), 450.0);
  const std::vector<std::string> commands = sim.Commands();
  ASSERT_EQ(commands.size(), 3u);
  EXPECT_EQ(commands[0].rfind("# dropped up to its CR LF, longer than 4096 bytes: \"AAAA", 0), 0u)
      << commands[0];
  EXPECT_EQ(commands[1], "CF455\r\n");
  EXPECT_LT(PeakKiB(sim.Pid()) - before, 4 * 1024) << "KiB more at the peak";
}

// A peer that leaves during a reply: its "EX", sent before it left, is
// logged all the same.
TEST(SimSessions, LogsWhatAPeerSentBeforeItLeftDuringAReply) {
  if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  SimProcess sim({"--chunk-bytes", "100", "--chunk-gap-ms", "20"});
  ASSERT_TRUE(sim.Running());
  ASSERT_TRUE(Client(sim.Port()).Send("CF455\r\nGD\r\nEX\r\n"));
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (sim.Commands().size() < 3 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(sim.Commands(), (std::vector<std::string>{"CF455\r\n", "GD\r\n", "EX\r\n"}));
}

// Whatever its clients do, a stop ends it: one floods it with "GD" and reads
// none of the replies, one sends without CR LF, one sits idle. Their sends
// fail once it has ended.
TEST(SimStop, EndsWhileClientsKeepSending) {
  if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  std::string commands;
  while (commands.size() < 16 * 1024) commands += "GD\r\n";
  const std::string blocks[] = {commands, std::string(16 * 1024, 'A')};
  for (const int signal : {SIGTERM, SIGINT}) {
    SimProcess sim;
    ASSERT_TRUE(sim.Running());
    std::list<Client> clients;
    std::vector<std::thread> floods;
    for (const std::string& block : blocks) {
      Client& client = clients.emplace_back(sim.Port());
      floods.emplace_back([&client, &block] {
        while (client.Send(block)) {
        }
      });
    }
    clients.emplace_back(sim.Port());
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (sim.Commands().size() < 100 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(sim.StopWith(signal, 5s), 0) << strsignal(signal);
    for (std::thread& flood : floods) flood.join();
  }
}

// Both connected at once, each tuned to its own band. With --close-after 3 a
// count shared between them would close the second on its "GD".
TEST(SimSessions, TwoClientsAtOnceEachInItsOwnBand) {
  if (SimProcess::Path() == nullptr) GTEST_SKIP() << "XPORT_SIM not set";
  SimProcess sim({"--close-after", "3"});
  ASSERT_TRUE(sim.Running());
  Client first(sim.Port());
  Client second(sim.Port());
  ASSERT_TRUE(first.Connected() && second.Connected());

  first.Send("CF455\r\n");
  second.Send("CF1005\r\n");
  second.Send("GD\r\n");
  ExpectBand(second.Reply(), 1000.0);
  first.Send("GD\r\n");
  ExpectBand(first.Reply(), 450.0);
}

}  // namespace
}  // namespace kov::sim
