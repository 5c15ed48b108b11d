#include "unzip/archive_file.h"

#include <cstdint>
#include <cstring>
#include <new>

#include "runtime/handles.h"

namespace unzip {
namespace {

constexpr uint32_t kBlockSize = 65536;

struct Block {
  uint64_t start = 0;
  uint32_t length = 0;  // 0: holds nothing
  uint32_t lastUse = 0;
  char bytes[kBlockSize];
};

class ArchiveFile {
 public:
  ArchiveFile(runtime::FileHandle file, uint64_t size, ArchiveFileErrors* errors)
      : file_(std::move(file)), size_(size), errors_(errors) {}

  uLong read(void* out, uLong size) {
    char* to = static_cast<char*>(out);
    uLong done = 0;
    while (done < size && position_ < size_) {
      const Block* block = blockAt(position_);
      if (block == nullptr) break;
      const uint64_t offset = position_ - block->start;
      uint64_t take = block->length - offset;
      if (take > size - done) take = size - done;
      std::memcpy(to + done, block->bytes + offset, static_cast<size_t>(take));
      done += static_cast<uLong>(take);
      position_ += take;
    }
    return done;
  }

  long seek(ZPOS64_T offset, int origin) {
    switch (origin) {
      case ZLIB_FILEFUNC_SEEK_SET: position_ = offset; return 0;
      case ZLIB_FILEFUNC_SEEK_CUR: position_ += offset; return 0;
      case ZLIB_FILEFUNC_SEEK_END: position_ = size_ + offset; return 0;
      default: return -1;
    }
  }

  ZPOS64_T tell() const { return position_; }
  bool failed() const { return failed_; }

 private:
  // The block holding the byte at position, read into the one used less recently when
  // neither holds it; null when the read fails.
  const Block* blockAt(uint64_t position) {
    ++uses_;
    for (Block& block : blocks_) {
      if (block.length != 0 && position >= block.start && position - block.start < block.length) {
        block.lastUse = uses_;
        return &block;
      }
    }
    Block& block = blocks_[0].lastUse <= blocks_[1].lastUse ? blocks_[0] : blocks_[1];
    block.length = 0;
    block.start = position - position % kBlockSize;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(block.start);
    DWORD got = 0;
    if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
        !ReadFile(file_.get(), block.bytes, kBlockSize, &got, nullptr)) {
      if (errors_ != nullptr && errors_->read == 0) errors_->read = GetLastError();
      failed_ = true;
      return nullptr;
    }
    if (got == 0) {  // the file is shorter than at its open: its data are what is wrong
      failed_ = true;
      return nullptr;
    }
    block.length = got;
    block.lastUse = uses_;
    return position - block.start < got ? &block : nullptr;
  }

  runtime::FileHandle file_;
  uint64_t size_;
  ArchiveFileErrors* errors_;
  uint64_t position_ = 0;
  uint32_t uses_ = 0;
  bool failed_ = false;
  Block blocks_[2];
};

ArchiveFile* fileOf(voidpf stream) { return static_cast<ArchiveFile*>(stream); }

voidpf ZCALLBACK openFile(voidpf opaque, const void* name, int) {
  ArchiveFileErrors* errors = static_cast<ArchiveFileErrors*>(opaque);
  // name: the UTF-16 path given to unzOpen2_64, passed through by minizip as it is.
  runtime::FileHandle file = runtime::openExisting(static_cast<const wchar_t*>(name), GENERIC_READ, FILE_SHARE_READ);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size)) {
    if (errors != nullptr) errors->open = GetLastError();
    return nullptr;
  }
  return new (std::nothrow) ArchiveFile(std::move(file), static_cast<uint64_t>(size.QuadPart), errors);
}

uLong ZCALLBACK readFile(voidpf, voidpf stream, void* buffer, uLong size) { return fileOf(stream)->read(buffer, size); }

uLong ZCALLBACK writeFile(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK tellFile(voidpf, voidpf stream) { return fileOf(stream)->tell(); }

long ZCALLBACK seekFile(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  return fileOf(stream)->seek(offset, origin);
}

int ZCALLBACK closeFile(voidpf, voidpf stream) {
  delete fileOf(stream);
  return 0;
}

int ZCALLBACK fileError(voidpf, voidpf stream) { return fileOf(stream)->failed() ? 1 : 0; }

}  // namespace

void fillArchiveFileFunctions(zlib_filefunc64_def& functions, ArchiveFileErrors* errors) {
  functions.zopen64_file = openFile;
  functions.zread_file = readFile;
  functions.zwrite_file = writeFile;
  functions.ztell64_file = tellFile;
  functions.zseek64_file = seekFile;
  functions.zclose_file = closeFile;
  functions.zerror_file = fileError;
  functions.opaque = errors;
}

}  // namespace unzip
