#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "plan/DownloadList.h"
#include "plan/ImageLock.h"
#include "platform/ImageHasher.h"

namespace tandrel {

// What the station knows of its image files: the identity Start took of each,
// and the SHA-256 of every version it has hashed. Hashing runs on the
// hasher's thread; everything here runs on the window thread.
class ImageBook {
public:
    // What a check of the files finds: the first file that is no longer
    // what Start took, or the empty text when none is.
    using Verdict = std::function<void(const std::string& changedFile)>;

    ImageBook(const ImageFiles& files, WindowLoop& loop);

    // Start: the identity of every file of list now, each hashed off the
    // window thread unless that version has been already.
    std::shared_ptr<const ImageLock> Take(const DownloadList& list);

    // The file an item is read from, as the station names files (UTF-8).
    static std::string PathOf(const DownloadItem& item);

    // The cheap check before a phone is armed: size, time and id only.
    std::string FirstChanged(const ImageLock& lock) const;

    // The check once a phone has taken every item: a file whose size, time
    // or id changed counts as changed unless its bytes hash as they did at
    // Start. verdict runs once every hash it needs is in, at once or from
    // OnHashed; it also waits for the hashes Start asked for, so that the
    // phone's result can name them.
    void Confirm(std::shared_ptr<const ImageLock> lock, Verdict verdict);

    // The SHA-256 (hex) of the file at path as Start took it; empty while
    // unknown, or when it could not be read.
    std::string Sha256AtStart(const ImageLock& lock, const std::string& path) const;
    // The same, but only while the file is still what Start took.
    std::string Sha256IfUnchanged(const ImageLock& lock, const std::string& path) const;

    // A hash came in from the hasher. Returns false, with the reason, when
    // the file could not be hashed.
    bool OnHashed(const ImageHashed& hashed, std::string& error);

private:
    using Version = std::tuple<std::string, std::uint64_t, std::int64_t, std::uint64_t, std::uint64_t>;
    struct Hash {
        bool done = false;
        std::string sha256;  // empty when it could not be hashed
    };
    struct Waiting {
        std::shared_ptr<const ImageLock> lock;
        std::vector<std::optional<FileIdentity>> now;  // per file of lock
        Verdict verdict;
    };

    static Version VersionOf(const std::string& path, const FileIdentity& identity);
    // The hash of a version, asked for when it is not known yet.
    const Hash& Want(const std::string& path, const FileIdentity& identity);
    const Hash* Known(const std::string& path, const FileIdentity& identity) const;
    // The verdict on waiting; empty while a hash it needs is still out.
    std::optional<std::string> Decide(const Waiting& waiting);

    const ImageFiles& files_;
    std::map<Version, Hash> hashes_;
    std::vector<Waiting> waiting_;
    ImageHasher hasher_;
};

}  // namespace tandrel
