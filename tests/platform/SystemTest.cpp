// The real adapters: files in a temporary folder, sockets on 127.0.0.1.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "TestFiles.h"
#include "platform/IniProfileFiles.h"
#include "platform/SystemClock.h"
#include "platform/SystemSockets.h"
#include "platform/SystemTextFiles.h"

namespace kov::platform {
namespace {

namespace fs = std::filesystem;

using testing::Slurp;

// A folder of the test's own for the files.
class InFolder : public ::testing::Test {
 protected:
  std::string Path(const char* name) const { return temp_.File(name); }
  testing::TempDir temp_;
  const fs::path& dir_ = temp_.Path();
};

using TextFilesTest = InFolder;

TEST_F(TextFilesTest, WritesAndAppendsBytesExactly) {
  SystemTextFiles files;
  ASSERT_TRUE(files.Write(Path("WFdata.txt"), "\r\n"));
  ASSERT_TRUE(files.Append(Path("WFdata.txt"), " 1,  1,-100 \r\n"));
  const FileBytes both[] = {{Path("WFdata.txt"), std::string_view("\0x", 2)},
                            {Path("WFtime.csv"), "1,1,455,t\r\n"}};
  ASSERT_TRUE(files.AppendAll(both));
  EXPECT_EQ(Slurp(Path("WFdata.txt")), std::string("\r\n 1,  1,-100 \r\n\0x", 18));
  EXPECT_EQ(Slurp(Path("WFtime.csv")), "1,1,455,t\r\n");
  EXPECT_EQ(files.FileSize(Path("WFdata.txt")), 18u);
  EXPECT_EQ(files.ReadStart(Path("WFdata.txt"), 4), "\r\n 1");
  EXPECT_EQ(files.ReadStart(Path("WFtime.csv"), 4096), "1,1,455,t\r\n");
  ASSERT_TRUE(files.Write(Path("WFdata.txt"), "\r\n"));
  EXPECT_EQ(Slurp(Path("WFdata.txt")), "\r\n");
  EXPECT_FALSE(files.Write(Path("missing/WFdata.txt"), "\r\n"));
  EXPECT_FALSE(files.Append(Path("missing/WFdata.txt"), "x"));
  // A folder is no file, but its name is taken.
  fs::create_directory(Path("folder"));
  for (const char* none : {"folder", "missing.txt"}) {
    EXPECT_EQ(files.FileSize(Path(none)), std::nullopt) << none;
    EXPECT_EQ(files.ReadStart(Path(none), 10), std::nullopt) << none;
    EXPECT_EQ(files.Modified(Path(none)), std::nullopt) << none;
  }
  EXPECT_TRUE(files.Exists(Path("folder")));
  EXPECT_FALSE(files.Exists(Path("missing.txt")));
}

TEST_F(TextFilesTest, RenamesNeverReplace) {
  SystemTextFiles files;
  testing::Spit(Path("WFdata.txt"), "run 2");
  testing::Spit(Path("WFdata-1.txt"), "run 1");
  EXPECT_FALSE(files.Rename(Path("WFdata.txt"), Path("WFdata-1.txt")));
  EXPECT_EQ(Slurp(Path("WFdata-1.txt")), "run 1");
  EXPECT_EQ(Slurp(Path("WFdata.txt")), "run 2");
  EXPECT_TRUE(files.Rename(Path("WFdata.txt"), Path("WFdata-2.txt")));
  EXPECT_EQ(Slurp(Path("WFdata-2.txt")), "run 2");
  EXPECT_FALSE(files.Exists(Path("WFdata.txt")));
  EXPECT_FALSE(files.Rename(Path("WFdata.txt"), Path("WFdata-3.txt")));
}

#ifdef _WIN32
// Another program holding the file open (without letting it be deleted)
// keeps its name: the rename fails and the file stays whole.
TEST_F(TextFilesTest, AFileHeldOpenKeepsItsName) {
  SystemTextFiles files;
  testing::Spit(Path("WFdata.txt"), "run 1");
  const HANDLE held = CreateFileA(Path("WFdata.txt").c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(files.Rename(Path("WFdata.txt"), Path("WFdata-1.txt")));
  CloseHandle(held);
  EXPECT_EQ(Slurp(Path("WFdata.txt")), "run 1");
  EXPECT_FALSE(files.Exists(Path("WFdata-1.txt")));
}
#endif

TEST_F(TextFilesTest, ModifiedOnTheWallClock) {
  SystemTextFiles files;
  SystemClock clock;
  const WallTime before = clock.Now();
  ASSERT_TRUE(files.Write(Path("WFdata.txt"), "\r\n"));
  const auto modified = files.Modified(Path("WFdata.txt"));
  ASSERT_TRUE(modified.has_value());
  // File systems keep times to a second or two at worst.
  EXPECT_NEAR(static_cast<double>(modified->utcMs), static_cast<double>(before.utcMs), 3000.0);
  EXPECT_EQ(modified->offsetMinutes, before.offsetMinutes);
}

#ifndef _WIN32
// A size limit on the files this process writes stands in for a full disk:
// writes past it fail part way, after some bytes have landed.
class FullDiskTest : public InFolder {
 protected:
  void SetUp() override { signal(SIGXFSZ, SIG_IGN); }
  void TearDown() override {
    rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);
  }
  static void LimitFilesTo(rlim_t bytes) {
    rlimit limit{bytes, RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
};

TEST_F(FullDiskTest, AFailedAppendLeavesTheFileAsItWas) {
  SystemTextFiles files;
  const std::string band(6000, 'x');
  ASSERT_TRUE(files.Write(Path("WFdata.txt"), "\r\n"));
  LimitFilesTo(100);
  EXPECT_FALSE(files.Append(Path("WFdata.txt"), band));
  EXPECT_EQ(Slurp(Path("WFdata.txt")), "\r\n");
  // Gone during the run: the half band written does not stay either.
  fs::remove(Path("WFdata.txt"));
  EXPECT_FALSE(files.Append(Path("WFdata.txt"), band));
  EXPECT_FALSE(fs::exists(Path("WFdata.txt")));
  // Two files: the one that took its bytes goes back when the other fails.
  ASSERT_TRUE(files.Write(Path("WFdata.txt"), "\r\n"));
  const FileBytes both[] = {{Path("WFdata.txt"), "x"}, {Path("WFtime.csv"), band}};
  EXPECT_FALSE(files.AppendAll(both));
  EXPECT_EQ(Slurp(Path("WFdata.txt")), "\r\n");
  EXPECT_FALSE(fs::exists(Path("WFtime.csv")));
}

TEST_F(FullDiskTest, AFailedSettingsWriteKeepsEveryOtherKey) {
  IniProfileFiles ini;
  const std::string path = Path("KOV_Xport.ini");
  const std::string before = "[COMMUNICATION]\r\nXport_IP=127.0.0.1\r\nXport_Port=10001\r\n";
  { std::ofstream(path, std::ios::binary) << before; }
  LimitFilesTo(20);
  ini.Write("MES_PARA", "START_FQ", "450", path);
  EXPECT_EQ(Slurp(path), before);
  EXPECT_FALSE(fs::exists(path + ".new"));
}
#endif

using IniFilesTest = InFolder;

TEST_F(IniFilesTest, ReadsDefaultsAndWritesInPlace) {
  IniProfileFiles ini;
  const std::string path = Path("KOV_Xport.ini");
  EXPECT_EQ(ini.Read("COMMUNICATION", "Xport_IP", "1", path), "1");
  { std::ofstream(path, std::ios::binary) << "; mine\r\n[COMMUNICATION]\r\nXport_IP=10.0.0.1"; }
  ini.Write("COMMUNICATION", "Xport_Port", "10001", path);
  ini.Write("MES_PARA", "D_LEVEL", " 1", path);
  EXPECT_EQ(Slurp(path),
            "; mine\r\n[COMMUNICATION]\r\nXport_IP=10.0.0.1\r\nXport_Port=10001\r\n"
            "[MES_PARA]\r\nD_LEVEL= 1\r\n");
  EXPECT_EQ(ini.Read("communication", "XPORT_IP", "1", path), "10.0.0.1");
  EXPECT_EQ(ini.Read("MES_PARA", "D_LEVEL", "1", path), "1");
  // A folder that does not exist: silently nothing.
  ini.Write("A", "b", "c", Path("missing/KOV_Xport.ini"));
  EXPECT_FALSE(fs::exists(Path("missing")));
}

TEST(SystemClock, TimeOfDayHasHoursMinutesSeconds) {
  SystemClock clock;
  const std::string text = clock.TimeOfDayText();
  EXPECT_GE(text.size(), 7u) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), ':'), 2) << text;
  const auto t0 = clock.MonotonicMs();
  clock.Sleep(0);
  EXPECT_GE(clock.MonotonicMs(), t0);
}

// A listener on 127.0.0.1 made with the system calls directly.
class Loopback : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(sockets_.Startup(0x0202), 0);
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::listen(listener_, Backlog()), 0);
#ifdef _WIN32
    int len = sizeof addr;
#else
    socklen_t len = sizeof addr;
#endif
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
  }
  void TearDown() override { CloseRaw(listener_); }
  virtual int Backlog() const { return 1; }

  static void CloseRaw(SocketHandle s) {
#ifdef _WIN32
    ::closesocket(static_cast<SOCKET>(s));
#else
    ::close(static_cast<int>(s));
#endif
  }
  SocketAddressRecord Address() const {
    SocketAddressRecord record{};
    record[0] = 2;
    record[2] = static_cast<std::uint8_t>(port_ >> 8);
    record[3] = static_cast<std::uint8_t>(port_ & 0xFF);
    const std::uint32_t ip = sockets_.InetAddr("127.0.0.1");
    std::memcpy(&record[4], &ip, 4);
    return record;
  }

  mutable SystemSockets sockets_;
#ifdef _WIN32
  SOCKET listener_;
#else
  int listener_;
#endif
  int port_ = 0;
};

TEST_F(Loopback, SendReceiveWaitAndClose) {
  EXPECT_EQ(sockets_.InetAddr("not an address"), kInaddrNone);
  const SocketHandle s = sockets_.Socket(2, 1, 0);
  ASSERT_NE(s, kInvalidSocket);
  ASSERT_EQ(sockets_.Connect(s, Address()), 0);
  const auto peer = ::accept(listener_, nullptr, nullptr);
  ASSERT_EQ(sockets_.SetNonBlocking(s), 0);
  EXPECT_EQ(sockets_.SetNoDelay(s, 1), 0);

  char buffer[16];
  EXPECT_EQ(sockets_.Recv(s, buffer, sizeof buffer), -1);  // nothing yet, no block
  EXPECT_FALSE(sockets_.WaitReadable(s, 1));
  EXPECT_EQ(sockets_.Send(s, "GD\r\n", 4), 4);
  char got[8] = {};
  EXPECT_EQ(::recv(peer, got, sizeof got, 0), 4);
  EXPECT_STREQ(got, "GD\r\n");

  EXPECT_EQ(::send(peer, "/ \r\n", 4, 0), 4);
  EXPECT_TRUE(sockets_.WaitReadable(s, 1000));
  EXPECT_EQ(sockets_.Recv(s, buffer, sizeof buffer), 4);

  CloseRaw(peer);
  EXPECT_TRUE(sockets_.WaitReadable(s, 1000));
  EXPECT_EQ(sockets_.Recv(s, buffer, sizeof buffer), 0);  // the peer has closed
  // Sending to a closed peer fails with -1 (no signal ends the test).
  int result = 0;
  for (int i = 0; i < 50 && result != -1; ++i) result = sockets_.Send(s, "EX\r\n", 4);
  EXPECT_EQ(result, -1);
  EXPECT_EQ(sockets_.Close(s), 0);
}

TEST_F(Loopback, RecvTellsNoDataYetFromABrokenConnection) {
  const SocketHandle s = sockets_.Socket(2, 1, 0);
  ASSERT_EQ(sockets_.Connect(s, Address()), 0);
  const auto peer = ::accept(listener_, nullptr, nullptr);
  ASSERT_EQ(sockets_.SetNonBlocking(s), 0);
  char buffer[16];
  EXPECT_EQ(sockets_.Recv(s, buffer, sizeof buffer), -1);
  EXPECT_EQ(sockets_.LastRecvFailure(), RecvFailure::kNoDataYet);
  // A close without lingering resets the connection.
  linger reset{1, 0};
  ::setsockopt(peer, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&reset), sizeof reset);
  CloseRaw(peer);
  EXPECT_TRUE(sockets_.WaitReadable(s, 1000));
  const std::int32_t result = sockets_.Recv(s, buffer, sizeof buffer);
#ifdef _WIN32
  // Wine reads a reset as the end of the stream: lost either way.
  if (result == 0) {
    sockets_.Close(s);
    return;
  }
#endif
  EXPECT_EQ(result, -1);
  EXPECT_EQ(sockets_.LastRecvFailure(), RecvFailure::kConnectionFailed);
  sockets_.Close(s);
}

// A listener whose accept queue is full drops further SYNs, as a device
// server that does not answer would.
class FullListener : public Loopback {
 protected:
  int Backlog() const override { return 0; }
};

TEST_F(FullListener, ConnectGivesUpAfterItsTimeOut) {
  // Connections that fill the queue, started with the system call itself so
  // that none of them waits.
  std::vector<SocketHandle> fillers;
  sockaddr_in to{};
  to.sin_family = AF_INET;
  to.sin_port = htons(static_cast<std::uint16_t>(port_));
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  for (int i = 0; i < 3; ++i) {
    fillers.push_back(sockets_.Socket(2, 1, 0));
    sockets_.SetNonBlocking(fillers.back());
    ::connect(fillers.back(), reinterpret_cast<const sockaddr*>(&to), sizeof to);
  }
  SystemSockets sockets(300);
  const SocketHandle s = sockets.Socket(2, 1, 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(sockets.Connect(s, Address()), kSocketError);
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(250));
  // Not the minutes the system's own SYN retries take.
  EXPECT_LT(waited, std::chrono::seconds(20));
  // The end of the program on the socket given up on: "EX" is offered and
  // the socket closed, neither waiting for the attempt the system still makes.
  const auto end = std::chrono::steady_clock::now();
  EXPECT_EQ(sockets.Send(s, "EX\r\n", 4), -1);
  EXPECT_EQ(sockets.Close(s), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - end, std::chrono::seconds(5));
  for (const SocketHandle f : fillers) sockets_.Close(f);
}

TEST_F(Loopback, ConnectToAClosedPortFails) {
  const SocketHandle s = sockets_.Socket(2, 1, 0);
  SocketAddressRecord record = Address();
  CloseRaw(listener_);
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(sockets_.Connect(s, record), kSocketError);
  sockets_.Close(s);
}

}  // namespace
}  // namespace kov::platform
