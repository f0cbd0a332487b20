// thumbnail-batch run CACHE_DIR PHOTO_DIR [WORKERS]
//   Thumbnails every *.jpg in PHOTO_DIR as the explorer does (one request per file, keyed by its
//   status) and exits when the service is idle. With KAVO_BENCH_RSS=1 it prints the resident
//   memory before the first request and the process's peak on standard error.
// thumbnail-batch scene FILE.ppm WIDTH HEIGHT SEED
//   Writes a photo-like picture (sky, ridges, textured ground, sensor noise) as binary PPM, for the
//   benchmark script to encode as JPEG.
#include "kavo_services/thumbnails.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace kavo_services;

long resident_kib()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:"))
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

int run(const fs::path& cache_dir, const fs::path& photo_dir, int workers)
{
    std::vector<fs::path> photos;
    for (const auto& entry : fs::directory_iterator(photo_dir))
        if (entry.path().extension() == ".jpg")
            photos.push_back(entry.path());
    std::ranges::sort(photos);
    const bool report_rss = std::getenv("KAVO_BENCH_RSS") && std::string(std::getenv("KAVO_BENCH_RSS")) == "1";
    const long baseline = resident_kib();

    auto service = ThumbnailService::create(cache_dir, workers);
    std::vector<ThumbKey> keys;
    for (const fs::path& photo : photos) {
        struct stat st {};
        if (::stat(photo.c_str(), &st) != 0)
            continue;
        const int64_t modified_ms = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        ThumbRequest request {.path = photo,
                              .key = ThumbKey::of_path_meta(photo, std::nullopt, modified_ms,
                                                            static_cast<uint64_t>(st.st_size)),
                              .category = category_for_path(photo)};
        keys.push_back(request.key);
        service->request_file(request);
    }
    service->block_until_idle();
    size_t ready = 0;
    for (const ThumbKey& key : keys)
        ready += service->status(key) == ThumbStatus::Ready;
    if (report_rss) {
        rusage usage {};
        ::getrusage(RUSAGE_SELF, &usage);
        std::fprintf(stderr, "rss baseline_kib %ld peak_kib %ld workers %d\n", baseline, usage.ru_maxrss, workers);
    }
    if (ready != keys.size()) {
        std::fprintf(stderr, "thumbnail-batch: %zu of %zu thumbnails failed\n", keys.size() - ready, keys.size());
        return 1;
    }
    return 0;
}

// Value noise: a hashed lattice, smoothly interpolated.
float lattice(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xffff) / 65535.0f;
}

float value_noise(float x, float y, uint32_t seed)
{
    const int xi = static_cast<int>(std::floor(x));
    const int yi = static_cast<int>(std::floor(y));
    float fx = x - xi;
    float fy = y - yi;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    const float top = lattice(xi, yi, seed) + (lattice(xi + 1, yi, seed) - lattice(xi, yi, seed)) * fx;
    const float bottom = lattice(xi, yi + 1, seed) + (lattice(xi + 1, yi + 1, seed) - lattice(xi, yi + 1, seed)) * fx;
    return top + (bottom - top) * fy;
}

// Octaves from 512 px down to 2 px, so the picture has detail at every scale as a photo does.
float fractal(float x, float y, uint32_t seed)
{
    float sum = 0;
    float amplitude = 0.5f;
    for (float scale = 512; scale >= 2; scale /= 2) {
        sum += amplitude * value_noise(x / scale, y / scale, seed++);
        amplitude *= 0.6f;
    }
    return sum;
}

uint8_t clamp_byte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 255.0f)); }

int scene(const fs::path& out, int width, int height, uint32_t seed)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    const float sky_r = 60 + (seed * 37 % 80);
    const float sky_b = 160 + (seed * 53 % 90);
    const float ground_g = 70 + (seed * 29 % 80);
    uint32_t grain = seed * 2654435761u + 1;
    for (int x = 0; x < width; ++x) {
        const float ridge = height * (0.45f + 0.25f * fractal(static_cast<float>(x), 0, seed + 100));
        for (int y = 0; y < height; ++y) {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 3];
            const float t = static_cast<float>(y) / height;
            float r, g, b;
            if (y < ridge) {
                const float cloud = fractal(static_cast<float>(x), static_cast<float>(y) * 2, seed + 7);
                r = sky_r + 120 * t + 80 * cloud;
                g = sky_r + 60 + 80 * t + 80 * cloud;
                b = sky_b + 40 * cloud;
            } else {
                const float texture = fractal(static_cast<float>(x), static_cast<float>(y), seed + 31);
                r = 40 + 140 * texture;
                g = ground_g + 120 * texture - 40 * t;
                b = 20 + 60 * texture;
            }
            grain ^= grain << 13;
            grain ^= grain >> 17;
            grain ^= grain << 5;
            const float noise = static_cast<float>(grain & 15) - 7.5f;
            p[0] = clamp_byte(r + noise);
            p[1] = clamp_byte(g + noise);
            p[2] = clamp_byte(b + noise);
        }
    }
    std::ofstream file(out, std::ios::binary);
    file << "P6\n" << width << " " << height << "\n255\n";
    file.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return file ? 0 : 1;
}

}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "run" && (argc == 4 || argc == 5))
        return run(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 2);
    if (mode == "scene" && argc == 6)
        return scene(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), static_cast<uint32_t>(std::atoi(argv[5])));
    std::fprintf(stderr, "usage: thumbnail-batch run CACHE_DIR PHOTO_DIR [WORKERS]\n"
                         "       thumbnail-batch scene FILE.ppm WIDTH HEIGHT SEED\n");
    return 2;
}
