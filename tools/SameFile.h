#pragma once
// An edge map written over the picture it is made from, through the same
// name, another path, a hard link or a symbolic link, would destroy that
// picture. Files are told apart as the system does, by device and inode.
#include <sys/types.h>

#include <QString>
#include <optional>

struct FileIdentity {
  dev_t device;
  ino_t inode;
  auto operator<=>(const FileIdentity &) const = default;
};

// The regular file that `name` stands for, if there is one ("-" stands for
// the descriptor `dash`, 0 for an input, 1 for an output).
std::optional<FileIdentity> regularFileIdentity(const QString &name, int dash);

// The reason refusing to write `output` over `input`, in the manner of cp.
QString sameFileReason(const QString &input, const QString &output);

// Throws a Failure if `output` is the same file as `input`.
void refuseSameFile(const QString &input, const QString &output);
