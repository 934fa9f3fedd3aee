// The window appears while a mount somewhere on the machine never answers (a dead sshfs, a
// FUSE driver that hangs): a FUSE mount whose driver never reads a request, in a mount
// namespace of a child process alone, and the program's window started there.
#include "support/mainwindowfixture.h"
#include "support/tempfolder.h"

#include <QComboBox>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kHungMount = "PELKORIN_HUNG_MOUNT";

// Not a test of its own: the test below runs it in the namespace that holds the hung mount.
TEST(HungMount, DISABLED_WindowAppearsInside)
{
    const char* hung = getenv(kHungMount);
    ASSERT_NE(hung, nullptr) << "runs only inside the namespace of the test below";
    TempFolder program;
    StartedProgram p = StartProgram(program.path());
    EXPECT_TRUE(p.main()->isVisible());
    auto* drive = Find<QComboBox>(p.main(), "Drive1");
    const int row = drive->findData(QByteArray(hung));
    ASSERT_GE(row, 0) << "the mount that never answers is not in the drive list";
    EXPECT_EQ(drive->itemText(row), QString::fromUtf8(hung)); // no label could be asked for
}

// In the child: a namespace of its own, the hung mount, then this program again on the test
// above. The FUSE connection's only descriptor stays with the child, never read: every
// request on the mount waits. When the child ends, the descriptor closes, which aborts the
// connection, and the namespace goes with its last process.
[[noreturn]] void HangAndStart(const char* mountPoint, int report)
{
    alarm(60); // kept across exec: nothing here outlives a minute
    const char* why = nullptr;
    int fuse = -1;
    char options[128];
    if (unshare(CLONE_NEWNS) != 0 || mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        why = "no mount namespace of its own (unshare)";
    else if ((fuse = open("/dev/fuse", O_RDWR)) < 0)
        why = "/dev/fuse can't be opened";
    else if (std::snprintf(options, sizeof options, "fd=%d,rootmode=40000,user_id=0,group_id=0", fuse) < 0 ||
             mount("pelkorin-hang", mountPoint, "fuse", MS_NOSUID | MS_NODEV, options) != 0)
        why = "the kernel mounts no FUSE file system here";
    if (why) {
        (void)!write(report, why, std::strlen(why));
        _exit(77);
    }
    setenv(kHungMount, mountPoint, 1);
    // Earlier tests may have left the process in a folder that is gone by now.
    (void)!chdir("/");
    execl("/proc/self/exe", "pelkorin_ui_tests", "--gtest_also_run_disabled_tests",
          "--gtest_filter=HungMount.DISABLED_WindowAppearsInside", static_cast<char*>(nullptr));
    _exit(127);
}

TEST(HungMount, TheWindowAppearsBesideAMountThatNeverAnswers)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting a FUSE file system needs root";
    if (access("/dev/fuse", R_OK | W_OK) != 0)
        GTEST_SKIP() << "no /dev/fuse";
    TempFolder place;
    place.MakeFolder("hung");
    const std::string mountPoint = place / "hung";
    int report[2];
    ASSERT_EQ(pipe2(report, O_CLOEXEC), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        HangAndStart(mountPoint.c_str(), report[1]);
    close(report[1]);
    int status = 0;
    pid_t done = 0;
    for (int tenths = 0; tenths < 300 && (done = waitpid(child, &status, WNOHANG)) == 0; ++tenths)
        usleep(100000);
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    char why[200] = {};
    (void)!read(report[0], why, sizeof why - 1);
    close(report[0]);
    ASSERT_NE(done, 0) << "no window within 30 s while a mount never answers";
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77)
        GTEST_SKIP() << why;
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the window's start beside the hung mount failed or hung (status " << status << ")";
}

} // namespace
