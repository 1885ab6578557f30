// assetgen: the asset builder's command line; the build runs it to make every picture and
// sound of the game.
//
//   zindrel_assetgen archive PATH    writes the resource archive (resources.dat)
//   zindrel_assetgen blobs DIR       writes the compiled-in pictures as DIR/<name>.bin
//   zindrel_assetgen preview PATH    writes a preview sheet of every picture as a PNG
//   zindrel_assetgen icons DIR       writes the desktop icons as DIR/<size>x<size>/apps/zindrel.png
//
// The same command always writes the same bytes.
#include "tools/archive_writer.h"
#include "tools/asset_bundle.h"
#include "tools/icon_art.h"
#include "tools/png_writer.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

static bool _WriteFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        std::fprintf(stderr, "Cannot create %s\n", path.c_str());
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    written = std::fclose(file) == 0 && written;
    if (!written)
    {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    }
    return written;
}

static bool _WriteBlobs(const std::string &directory)
{
    for (const ArchiveEntry &blob : AssetBundle_Blobs())
    {
        if (!_WriteFile(directory + "/" + blob.name, blob.data))
        {
            return false;
        }
    }
    return true;
}

static bool _WritePreview(const char *path)
{
    std::vector<uint8_t> png = PngWriter_Encode(AssetBundle_ContactSheet());
    return !png.empty() && _WriteFile(path, png);
}

static bool _WriteIcons(const std::string &directory)
{
    for (int32_t size : IconArt_Sizes())
    {
        const std::string folder =
            directory + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        std::vector<uint8_t> png = PngWriter_Encode(IconArt_Draw(size));
        if (error || png.empty() || !_WriteFile(folder + "/zindrel.png", png))
        {
            return false;
        }
    }
    return true;
}

int main(int argc, char **argv)
{
    if (argc != 3)
    {
        std::fprintf(stderr, "usage: %s archive PATH | blobs DIR | preview PATH | icons DIR\n",
                     argv[0]);
        return 2;
    }
    bool done = false;
    if (std::strcmp(argv[1], "archive") == 0)
    {
        done = ArchiveWriter_Write(argv[2], AssetBundle_ArchiveEntries());
    }
    else if (std::strcmp(argv[1], "blobs") == 0)
    {
        done = _WriteBlobs(argv[2]);
    }
    else if (std::strcmp(argv[1], "preview") == 0)
    {
        done = _WritePreview(argv[2]);
    }
    else if (std::strcmp(argv[1], "icons") == 0)
    {
        done = _WriteIcons(argv[2]);
    }
    else
    {
        std::fprintf(stderr, "unknown command %s\n", argv[1]);
        return 2;
    }
    return done ? 0 : 1;
}
