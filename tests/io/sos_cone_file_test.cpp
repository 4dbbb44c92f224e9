// Writers and the kinds of paths they meet: a regular file is replaced whole (through a
// temporary file, keeping its permissions), a symbolic link keeps pointing at its target, which
// gets the content, and a FIFO or a device is written through, never replaced by a regular file.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "io_fixture.h"

namespace iotest {
namespace {

namespace fs = std::filesystem;

struct Writer {
  const char* name;
  std::function<int(tarq_prob*, const char*)> write;
};

class SosConeFileTest : public IoTest {
 protected:
  void SetUp() override {
    IoTest::SetUp();
    BuildSolved(prob_, TARQ_MAXIMIZE, {1, 2}, {0, 2}, 3);
  }

  // What the writer puts into a regular file of that name.
  std::string Expected(const Writer& w, const std::string& file) {
    const std::string path = Path("expected_" + file);
    EXPECT_EQ(w.write(prob_, path.c_str()), 0) << w.name;
    return ReadText(path);
  }

  const std::vector<Writer> writers_ = {
      {"mps", TARQ_WriteMps},        {"mps.gz", TARQ_WriteMps}, {"lp", TARQ_WriteLp},
      {"bin", TARQ_WriteBin},        {"sol", TARQ_WriteSol},    {"json", TARQ_WriteJsonSol},
      {"bas", TARQ_WriteBasis},      {"mst", TARQ_WriteMst},    {"par", TARQ_WriteParam},
  };
};

TEST_F(SosConeFileTest, SymbolicLinksStayAndTheirTargetsGetTheContent) {
  for (const Writer& w : writers_) {
    SCOPED_TRACE(w.name);
    const std::string file = std::string("out.") + w.name;
    const std::string expected = Expected(w, file);
    // A link to an existing file (relative target), and a dangling one (absolute target).
    const std::string target = Write("target_" + file, "old content\n");
    const std::string link = Path("link_" + file);
    fs::create_symlink("target_" + file, link);
    EXPECT_EQ(w.write(prob_, link.c_str()), 0);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_EQ(ReadText(target), expected);

    const std::string missing = Path("made_" + file);
    const std::string dangling = Path("dangling_" + file);
    fs::create_symlink(missing, dangling);
    EXPECT_EQ(w.write(prob_, dangling.c_str()), 0);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(dangling)));
    EXPECT_EQ(ReadText(missing), expected);
  }
  // No temporary file is left anywhere.
  for (const auto& entry : fs::directory_iterator(dir_)) {
    EXPECT_EQ(entry.path().string().find(".tarq-partial"), std::string::npos) << entry.path();
  }
}

TEST_F(SosConeFileTest, FifosAreWrittenThroughAndDevicesStayDevices) {
  // The null device: a node of its own where the process may make one (as root, a writer that
  // replaced the system's /dev/null would break the machine), the system's otherwise (which only
  // root could replace).
  std::string nullDevice = Path("null");
  const int probe = ::mknod(nullDevice.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0
                        ? ::open(nullDevice.c_str(), O_WRONLY)  // fails where devices are disabled
                        : -1;
  if (probe >= 0) {
    ::close(probe);
  } else {
    nullDevice = ::geteuid() == 0 ? "" : "/dev/null";
  }
  for (const Writer& w : writers_) {
    SCOPED_TRACE(w.name);
    const std::string file = std::string("out.") + w.name;
    const std::string expected = Expected(w, file);
    const std::string fifo = Path("fifo_" + file);
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A second name for the FIFO: should the writer replace the first one, opening this one
    // releases the reader instead of leaving it waiting for a writer forever.
    const std::string spare = Path("spare_" + file);
    ASSERT_EQ(::link(fifo.c_str(), spare.c_str()), 0);
    std::string received;
    std::thread reader([&] { received = ReadText(fifo); });
    EXPECT_EQ(w.write(prob_, fifo.c_str()), 0);
    const int release = ::open(spare.c_str(), O_WRONLY | O_NONBLOCK);
    if (release >= 0) ::close(release);
    reader.join();
    EXPECT_EQ(received, expected);
    EXPECT_TRUE(fs::is_fifo(fifo));

    if (!nullDevice.empty()) {
      EXPECT_EQ(w.write(prob_, nullDevice.c_str()), 0);
      EXPECT_TRUE(fs::is_character_file(nullDevice));
    }
  }
}

TEST_F(SosConeFileTest, ARegularFileIsReplacedWholeAndKeepsItsPermissions) {
  const std::string path = Write("kept.mps", std::string(100000, 'x'));  // longer than the new text
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  ASSERT_EQ(TARQ_WriteMps(prob_, path.c_str()), 0);
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadText(path), Expected({"mps", TARQ_WriteMps}, "kept.mps"));
}

}  // namespace
}  // namespace iotest
