// EncryptBuffer's throughput with nothing but the standard library, so that
// it builds for every platform (the Windows build has no Google Benchmark):
// the median of several timed rounds at each size, in MB/s.
//
//   encrypt_buffer_throughput [seconds per size]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/encrypt.h"

int main(int argc, char** argv) {
    const double secondsPerSize = argc > 1 ? std::atof(argv[1]) : 2.0;
    const auto* key = reinterpret_cast<const unsigned char*>("0123456789abcdef");
    for (const unsigned length : {4096u, 90111u}) {
        std::vector<unsigned char> plain(length + velmora::BLOCK_BYTES, 'x');
        std::vector<double> rates;
        for (int round = 0; round < 5; ++round) {
            const auto start = std::chrono::steady_clock::now();
            double elapsed = 0;
            long calls = 0;
            while (elapsed < secondsPerSize / 5) {
                velmora::CipherBuffer cipher;
                unsigned cipherLength = 0;
                velmora::EncryptBuffer(key, plain.data(), length, cipher, cipherLength);
                if (cipherLength == 0) {
                    std::fprintf(stderr, "EncryptBuffer failed\n");
                    return 1;
                }
                ++calls;
                elapsed =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            }
            rates.push_back(static_cast<double>(calls) * length / elapsed / 1e6);
        }
        std::sort(rates.begin(), rates.end());
        std::printf("%6u bytes: %8.1f MB/s\n", length, rates[rates.size() / 2]);
    }
    return 0;
}
