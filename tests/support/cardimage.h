#pragma once
// A real camera card for a test: an image file made with mkfs, on a loop device, mounted
// through the FUSE driver a card reader gets on this machine. Unmounted and detached at the
// end. Where something it needs is missing (root, /dev/fuse, losetup, a free loop device,
// the tools) it is not ready and says why; tests then skip with SKIP_WITHOUT_CARD.
#include "support/tempfolder.h"

#include <ostream>
#include <string>

enum class CardKind { ExFat, Fat16 };
inline void PrintTo(CardKind k, std::ostream* os) { *os << (k == CardKind::ExFat ? "exFAT" : "FAT16"); }

class CardImage {
public:
    explicit CardImage(CardKind kind);
    ~CardImage();
    CardImage(const CardImage&) = delete;
    CardImage& operator=(const CardImage&) = delete;

    bool ready() const { return mounted_; }
    const std::string& whyNot() const { return whyNot_; }
    // The mount point: the card's root folder.
    const std::string& path() const { return mountPoint_; }
    // Unmounts the card and mounts it again, as a card taken out and put back: its driver then
    // hands out new inode numbers. False when it could not be mounted again.
    bool Remount();

private:
    bool Mount();
    void Unmount();
    CardKind kind_;
    TempFolder work_;
    std::string mountPoint_;
    std::string device_;
    bool mounted_ = false;
    std::string whyNot_;
};

#define SKIP_WITHOUT_CARD(card)                                                                    \
    if (!(card).ready())                                                                           \
    GTEST_SKIP() << (card).whyNot()
