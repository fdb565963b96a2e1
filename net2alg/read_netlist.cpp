// Format detection and opening of netlist files.
#include "read_netlist.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <string_view>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "aiger_reader.h"
#include "blif_reader.h"
#include "error.h"

namespace net2alg {

Netlist readNetlist(std::istream &in, const std::string &source, bool registers,
                    const std::string &model) {
  char magic[4] = {0, 0, 0, 0};
  in.read(magic, 4);
  const std::string head(magic, static_cast<std::size_t>(in.gcount()));
  in.clear();
  in.seekg(0);
  if (head == "aag " || head == "aig ")
    return readAiger(in, source, registers);
  return readBlif(in, source, registers, model);
}

namespace {

// A regular file mapped read-only. Reading a large BLIF through a stream
// would first zero and then fill a private copy of it (tens of megabytes of
// fresh pages); the mapping shares the page cache's pages instead. Empty
// when the file cannot be mapped (the caller then reads it as a stream).
class MappedFile {
public:
  explicit MappedFile(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
      return;
    struct stat st;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
      size_ = static_cast<std::size_t>(st.st_size);
      void *p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
      if (p != MAP_FAILED)
        data_ = static_cast<const char *>(p);
    }
    ::close(fd);
  }
  MappedFile(const MappedFile &) = delete;
  MappedFile &operator=(const MappedFile &) = delete;
  ~MappedFile() {
    if (data_ != nullptr)
      ::munmap(const_cast<char *>(data_), size_);
  }
  bool mapped() const { return data_ != nullptr; }
  std::string_view text() const { return {data_, size_}; }

private:
  const char *data_ = nullptr;
  std::size_t size_ = 0;
};

} // namespace

Netlist readNetlistFile(const std::string &path, bool registers, const std::string &model) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    fail(path + ": is a directory");
  {
    const MappedFile file(path);
    if (file.mapped()) {
      const std::string_view head = file.text().substr(0, 4);
      if (head != "aag " && head != "aig ")
        return readBlifText(file.text(), path, registers, model);
    }
  }
  std::ifstream in(path, std::ios::binary);
  if (!in)
    fail(path + ": cannot open for reading");
  return readNetlist(in, path, registers, model);
}

} // namespace net2alg
