// rebase_runner <image>: runs <image> at a base other than the one it was linked for. This
// executable sits at the images' preferred base, so the loader must place the image elsewhere,
// apply its base relocations and bind its imports. The loader does all of that for libraries
// only, so the runner loads a copy of the image (<image>.moved) marked as a library whose
// entry is 0 (nothing runs while it loads), then jumps to the image's own entry: the whole
// program runs relocated, with its code, data, relocations and unwind data as they were linked.
// Exit codes of its own: 90 wrong use, 91 no copy made, 92 not loaded, 93 loaded at its
// preferred base, 94 the image's entry returned; otherwise the image's own exit code.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> read_file(const std::string &path) {
  std::vector<unsigned char> bytes;
  if (FILE *file = std::fopen(path.c_str(), "rb")) {
    unsigned char chunk[4096];
    for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) != 0;)
      bytes.insert(bytes.end(), chunk, chunk + got);
    std::fclose(file);
  }
  return bytes;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2)
    return 90;
  std::vector<unsigned char> image = read_file(argv[1]);
  if (image.size() < 0x200)
    return 91;
  uint32_t pe = 0;
  std::memcpy(&pe, image.data() + 0x3c, 4);
  if (pe + sizeof(IMAGE_NT_HEADERS64) > image.size())
    return 91;
  IMAGE_NT_HEADERS64 nt;
  std::memcpy(&nt, image.data() + pe, sizeof nt);
  const uint64_t preferred = nt.OptionalHeader.ImageBase;
  const uint32_t entry = nt.OptionalHeader.AddressOfEntryPoint;
  nt.FileHeader.Characteristics |= IMAGE_FILE_DLL;
  nt.OptionalHeader.AddressOfEntryPoint = 0;
  std::memcpy(image.data() + pe, &nt, sizeof nt);
  const std::string copy = std::string(argv[1]) + ".moved";
  FILE *out = std::fopen(copy.c_str(), "wb");
  if (out == nullptr)
    return 91;
  const bool written = std::fwrite(image.data(), 1, image.size(), out) == image.size();
  if (std::fclose(out) != 0 || !written)
    return 91;

  HMODULE module = LoadLibraryExA(copy.c_str(), nullptr, 0);
  if (module == nullptr)
    return 92;
  auto *base = reinterpret_cast<unsigned char *>(module);
  if (reinterpret_cast<uint64_t>(base) == preferred)
    return 93;
  std::fflush(stdout);
  reinterpret_cast<void (*)()>(base + entry)();
  return 94;
}
