// Archive extraction throughput. Subcommands (driven by tools/ci/bench.sh):
//   gen DIR MIB        a tree of thousands of files, text-like and noise, plus two big ones
//   extract ARCHIVE DEST   TBackupFile through HostFileSystem
//   inflate ARCHIVE        zlib alone on the same blocks into memory: the format's limit
//   inflate-write ARCHIVE DEST   the same, written to plain files: the limit on disk
// Each run prints "<mode> <seconds> <bytes> <peak RSS KiB>".
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "installer/engine/archive_backup_file.h"
#include "installer/platform/host/host_file_system.h"

using namespace ostravel;

namespace {

long PeakRssKib() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Random {
  uint64_t state;
  uint32_t Next() {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return uint32_t(state >> 33);
  }
};

void FillText(Random& r, std::string& out, size_t size) {
  static const char* words[] = {"könyvelés", "invoice", "ledger",  "balance", "account", "tax",    "period",
                                "voucher",   "partner", "amount",  "2024.",   "HUF",     "debit",  "credit",
                                "report",    "total",   "monthly", "closing", "journal", "entry:", "\r\n"};
  out.clear();
  while (out.size() < size) {
    out += words[r.Next() % (sizeof words / sizeof *words)];
    out += r.Next() % 4 ? ' ' : char('0' + r.Next() % 10);
  }
  out.resize(size);
}

void FillNoise(Random& r, std::string& out, size_t size) {
  out.resize(size);
  for (size_t i = 0; i + 4 <= size; i += 4) {
    uint32_t v = r.Next();
    std::memcpy(&out[i], &v, 4);
  }
}

bool WriteFile(const std::string& path, const std::string& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

int Generate(const std::string& root, uint64_t mib) {
  Random r{12345};
  uint64_t target = mib << 20, total = 0;
  std::string data;
  for (int d = 0; d < 40; ++d) ::mkdir((root + "/dir" + std::to_string(d)).c_str(), 0777);
  // Two big members: memory must not follow member size.
  FillText(r, data, 48u << 20);
  if (!WriteFile(root + "/big-text.log", data)) return 1;
  FillNoise(r, data, 24u << 20);
  if (!WriteFile(root + "/big-noise.bin", data)) return 1;
  total = (48u + 24u) << 20;
  int files = 2;
  while (total < target) {
    uint32_t pick = r.Next() % 100;
    size_t size = pick < 70 ? 1 + r.Next() % (64 << 10) : pick < 97 ? (64 << 10) + r.Next() % (448 << 10)
                                                                     : (512 << 10) + r.Next() % (3 << 20);
    if (r.Next() % 5 < 3)
      FillText(r, data, size);
    else
      FillNoise(r, data, size);
    std::string path = root + "/dir" + std::to_string(r.Next() % 40) + "/f" + std::to_string(files) +
                       (r.Next() % 2 ? ".dat" : ".txt");
    if (!WriteFile(path, data)) return 1;
    total += size;
    ++files;
  }
  std::printf("%d files, %llu bytes\n", files, (unsigned long long)total);
  return 0;
}

int Extract(const std::string& archive, const std::string& dest) {
  platform::HostFileSystem files;
  engine::TBackupFile backup(files);
  backup.RestoreFullPath = true;
  int code = 0;
  backup.OnError = [&](engine::TBackupFile&, int c, const std::string&) { code = c; };
  auto start = std::chrono::steady_clock::now();
  bool ok = backup.Restore(archive, dest);
  double s = Seconds(start);
  if (!ok) {
    std::fprintf(stderr, "extraction failed, code %d\n", code);
    return 1;
  }
  std::printf("extract %.3f %lld %ld\n", s, (long long)backup.ProcessedBytes(), PeakRssKib());
  return 0;
}

// Walks the layout with a buffered reader and inflates every block, nothing else;
// with `dest`, also writes each member with plain write() calls (batched to
// BENCH_WRITE bytes) into DEST/<member number>: the limit for extracting to files.
int Inflate(const std::string& archive, const char* dest) {
  FILE* f = std::fopen(archive.c_str(), "rb");
  if (!f) return 1;
  std::vector<char> io(1 << 20);
  std::setvbuf(f, io.data(), _IOFBF, io.size());
  auto i32 = [&](int32_t& v) { return std::fread(&v, 4, 1, f) == 1; };
  std::vector<unsigned char> in(engine::kArchiveMaxCompressedBlock), out(engine::kArchiveBlockSize);
  z_stream zs{};
  inflateInit(&zs);
  size_t batch = std::getenv("BENCH_WRITE") ? std::strtoul(std::getenv("BENCH_WRITE"), nullptr, 10) : 16384;
  std::vector<unsigned char> pending;
  int fd = -1, members = 0;
  auto flush = [&] {
    if (fd >= 0 && !pending.empty() && ::write(fd, pending.data(), pending.size()) != ssize_t(pending.size())) std::abort();
    pending.clear();
  };
  auto start = std::chrono::steady_clock::now();
  int32_t v, total, reserved;
  if (!i32(v) || std::fseek(f, v, SEEK_CUR) != 0 || !i32(total) || !i32(reserved)) return 1;
  long long bytes = 0;
  for (;;) {
    int32_t n, time;
    if (!i32(n)) return 1;
    if (n == 0) break;
    if (n < 0) continue;
    if (std::fseek(f, n, SEEK_CUR) != 0 || !i32(time) || !i32(v)) return 1;  // name, time, magic
    if (dest) {
      fd = ::open((std::string(dest) + "/" + std::to_string(++members)).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
      if (fd < 0) return 1;
    }
    for (;;) {
      int32_t l;
      if (!i32(l)) return 1;
      if (l == 0) break;
      size_t size = size_t(l < 0 ? -l : l);
      if (size > in.size() || std::fread(in.data(), 1, size, f) != size) return 1;
      if (l < 0) {
        std::memcpy(out.data(), in.data(), size);
        bytes += static_cast<long long>(size);
        if (dest) pending.insert(pending.end(), out.data(), out.data() + size);
        if (pending.size() >= batch) flush();
        continue;
      }
      inflateReset(&zs);
      zs.next_in = in.data();
      zs.avail_in = unsigned(size);
      zs.next_out = out.data();
      zs.avail_out = unsigned(out.size());
      if (inflate(&zs, Z_FINISH) != Z_STREAM_END) return 1;
      bytes += static_cast<long long>(zs.total_out);
      if (dest) pending.insert(pending.end(), out.data(), out.data() + zs.total_out);
      if (pending.size() >= batch) flush();
    }
    if (dest) {
      flush();
      ::close(fd);
      fd = -1;
    }
  }
  double s = Seconds(start);
  inflateEnd(&zs);
  std::fclose(f);
  std::printf("%s %.3f %lld %ld\n", dest ? "inflate+write" : "inflate", s, bytes, PeakRssKib());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "gen" && argc == 4) return Generate(argv[2], std::strtoull(argv[3], nullptr, 10));
  if (mode == "extract" && argc == 4) return Extract(argv[2], argv[3]);
  if (mode == "inflate" && argc == 3) return Inflate(argv[2], nullptr);
  if (mode == "inflate-write" && argc == 4) return Inflate(argv[2], argv[3]);
  std::fprintf(stderr, "usage: bench_archive gen DIR MIB | extract ARCHIVE DEST | inflate ARCHIVE\n");
  return 2;
}
