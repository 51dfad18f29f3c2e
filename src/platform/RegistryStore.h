// The hive files on disk: reading, the store's lock, atomic replacement, the documents folder.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/RegistryTree.h"

namespace skribo {

// Which file a path named when it was read; a replaced file has another identity.
struct TFileStamp {
  bool Exists = false;
  bool Unknown = false;  // the file could not be examined: never equal to anything
  dev_t Device = 0;
  ino_t Inode = 0;
  off_t Size = 0;
  timespec Modified{};
  timespec Changed{};
  bool operator==(const TFileStamp& other) const noexcept;
};

TFileStamp StampOf(const std::filesystem::path& file);

std::filesystem::path HiveFilePath(const std::filesystem::path& folder, THive hive);

// The whole file, or false when there is none. Throws TRegistryError for a file that exists but
// cannot be read (a folder, a device, an I/O error).
bool ReadRegFileBytes(const std::filesystem::path& file, std::string& bytes,
                      TFileStamp* stamp = nullptr, const std::string& what = "the registry file");

// The hive as its file holds it; a missing file is an empty hive. Throws TRegistryError and
// TRegistryFormatError.
std::unique_ptr<TRegKeyNode> LoadHive(const std::filesystem::path& folder, THive hive,
                                      TFileStamp* stamp = nullptr);

// Holds the store's exclusive lock (flock on the lock file beside the hives) while it lives;
// creates the folder when needed. Every change of a hive file happens under it.
class TStoreLock {
 public:
  explicit TStoreLock(const std::filesystem::path& folder);
  ~TStoreLock();
  TStoreLock(const TStoreLock&) = delete;
  TStoreLock& operator=(const TStoreLock&) = delete;

 private:
  int Fd = -1;
};

// Writes the bytes beside the target, flushes them and renames them over it, so the target is
// always either the old file or the new one. what names the file in messages.
void ReplaceFileAtomically(std::filesystem::path target, std::string_view bytes,
                           const std::string& what);

void SaveHive(const std::filesystem::path& folder, THive hive, const TRegKeyNode& root);

// Temporary files that writers killed halfway left behind; only safe under the lock.
void RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

// A locked read-modify-write: change gets the hive's tree and returns whether it changed it; a
// changed tree is written back. Returns what change returned.
bool ChangeHive(const std::filesystem::path& folder, THive hive,
                const std::function<bool(TRegKeyNode&)>& change);

// The XDG documents folder: XDG_DOCUMENTS_DIR of user-dirs.dirs in the configuration folder,
// with $HOME expanded, else $HOME/Documents.
std::u16string XdgDocumentsFolder();

}  // namespace skribo
