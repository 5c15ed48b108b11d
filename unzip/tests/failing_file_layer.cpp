#include "unzip/tests/failing_file_layer.h"

#include "unzip/archive_file.h"

// The symbols the linker's --wrap makes of unzip::fillArchiveFileFunctions: calls to it reach
// the __wrap_ function, and the __real_ one is the archive's own.
#define REAL_FILL __real__ZN5unzip24fillArchiveFileFunctionsER21zlib_filefunc64_def_sPNS_17ArchiveFileErrorsE
#define WRAP_FILL __wrap__ZN5unzip24fillArchiveFileFunctionsER21zlib_filefunc64_def_sPNS_17ArchiveFileErrorsE
extern "C" void REAL_FILL(zlib_filefunc64_def& functions, unzip::ArchiveFileErrors* errors);
extern "C" void WRAP_FILL(zlib_filefunc64_def& functions, unzip::ArchiveFileErrors* errors);

namespace unziptest {
namespace {

zlib_filefunc64_def real{};
bool armed = false;
uint64_t failAt = 0;
DWORD failError = 0;
voidpf failedStream = nullptr;

uLong ZCALLBACK readFile(voidpf opaque, voidpf stream, void* buffer, uLong size) {
  const uint64_t at = armed ? real.ztell64_file(opaque, stream) : 0;
  if (armed && at <= failAt && failAt < at + size) {
    auto* errors = static_cast<unzip::ArchiveFileErrors*>(opaque);
    if (errors != nullptr && errors->read == 0) errors->read = failError;
    failedStream = stream;
    return 0;
  }
  return real.zread_file(opaque, stream, buffer, size);
}

int ZCALLBACK fileError(voidpf opaque, voidpf stream) {
  return stream == failedStream ? 1 : real.zerror_file(opaque, stream);
}

int ZCALLBACK closeFile(voidpf opaque, voidpf stream) {
  if (stream == failedStream) failedStream = nullptr;
  return real.zclose_file(opaque, stream);
}

}  // namespace

void failReadsAt(uint64_t offset, DWORD error) {
  armed = true;
  failAt = offset;
  failError = error;
}

void failNoReads() { armed = false; }

bool failingLayerInstalled() {
  zlib_filefunc64_def functions{};
  unzip::fillArchiveFileFunctions(functions, nullptr);
  return functions.zread_file == readFile;
}

}  // namespace unziptest

extern "C" void WRAP_FILL(zlib_filefunc64_def& functions, unzip::ArchiveFileErrors* errors) {
  REAL_FILL(functions, errors);
  unziptest::real = functions;
  functions.zread_file = unziptest::readFile;
  functions.zerror_file = unziptest::fileError;
  functions.zclose_file = unziptest::closeFile;
}
