#include "support/cardimage.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// The program's full path from PATH or the system folders, where root's tools live; empty
// when it is nowhere.
std::string Tool(const std::string& name)
{
    std::string folders = getenv("PATH") ? getenv("PATH") : "";
    folders += ":/usr/sbin:/sbin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::string candidate = folders.substr(start, end - start) + "/" + name;
        if (end > start && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// Runs a program without a shell; its exit status (-1 when it could not start) and what it
// wrote to standard output. Standard error goes nowhere: mkfs and the drivers are chatty.
int Run(const std::vector<std::string>& args, std::string* out = nullptr)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    if (spawned != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    if (out)
        *out = text.substr(0, text.find('\n'));
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The card is mounted in a mount namespace of this test process alone: should its FUSE driver
// hang (fusefat can), no other program on the machine sees the mount, so none of them blocks
// on it (a drive list stats every mount), and the mount goes with the process.
bool InPrivateMounts()
{
    static const bool done = unshare(CLONE_NEWNS) == 0 &&
                             mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return done;
}

} // namespace

CardImage::CardImage(CardKind kind) : kind_(kind)
{
    const bool exfat = kind == CardKind::ExFat;
    const std::string mkfs = Tool(exfat ? "mkfs.exfat" : "mkfs.fat");
    const std::string mount = Tool(exfat ? "mount.exfat-fuse" : "fusefat");
    const std::string losetup = Tool("losetup");
    if (geteuid() != 0) {
        whyNot_ = "a card image needs root (loop devices, mounting)";
        return;
    }
    if (access("/dev/fuse", R_OK | W_OK) != 0) {
        whyNot_ = "no /dev/fuse";
        return;
    }
    if (mkfs.empty() || mount.empty() || losetup.empty()) {
        whyNot_ = exfat ? "needs mkfs.exfat (exfatprogs), mount.exfat-fuse (exfat-fuse), losetup"
                        : "needs mkfs.fat (dosfstools), fusefat (fusefat), losetup";
        return;
    }
    if (!InPrivateMounts()) {
        whyNot_ = "no mount namespace of its own for the card (unshare)";
        return;
    }
    const std::string image = work_ / "card.img";
    mountPoint_ = work_ / "card";
    std::filesystem::create_directory(mountPoint_);
    std::filesystem::resize_file((std::ofstream(image), image), 32u << 20);
    if (Run(exfat ? std::vector<std::string>{mkfs, image}
                  : std::vector<std::string>{mkfs, "-F", "16", image}) != 0) {
        whyNot_ = "mkfs failed on " + image;
        return;
    }
    if (Run({losetup, "-f", "--show", image}, &device_) != 0 || device_.empty()) {
        whyNot_ = "no free loop device (losetup -f failed)";
        device_.clear();
        return;
    }
    if (!Mount()) {
        whyNot_ = "mounting " + device_ + " with " + mount + " failed";
        return;
    }
}

bool CardImage::Mount()
{
    const bool exfat = kind_ == CardKind::ExFat;
    const std::string mount = Tool(exfat ? "mount.exfat-fuse" : "fusefat");
    mounted_ = (exfat ? Run({mount, device_, mountPoint_}) : Run({mount, "-o", "rw+", device_, mountPoint_})) == 0;
    return mounted_;
}

void CardImage::Unmount()
{
    if (!mounted_)
        return;
    // The driver may still be busy with the last writes for a moment.
    int attempt = 0;
    for (; attempt < 50 && Run({Tool("umount"), mountPoint_}) != 0; ++attempt)
        usleep(100000);
    if (attempt == 50)
        Run({Tool("umount"), "-l", mountPoint_}); // a driver that hangs is cut loose
    mounted_ = false;
}

bool CardImage::Remount()
{
    Unmount();
    return Mount();
}

CardImage::~CardImage()
{
    Unmount();
    if (!device_.empty())
        Run({Tool("losetup"), "-d", device_});
}
