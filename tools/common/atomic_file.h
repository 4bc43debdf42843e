// Writes a file so that it appears under its name only when complete: the bytes go to a
// temporary file beside it, which is renamed over the name at commit and removed otherwise.
#pragma once

#include <cstdio>
#include <string>

class AtomicFile {
  public:
    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile(); // removes the temporary file unless committed

    // Opens the temporary file. On failure returns false and fills error with a sentence.
    bool open(const std::string& path, std::string& error);
    std::FILE* stream() { return stream_; }
    // The temporary file's name, for a writer that opens the file by name (another process).
    const std::string& temporary_path() const { return temp_path_; }
    // Flushes, closes and renames into place. On failure removes the temporary file.
    bool commit(std::string& error);

  private:
    void discard();

    std::string path_;
    std::string temp_path_;
    std::FILE* stream_ = nullptr;
};
