#include "interchange/sprite_names.h"

#include <cerrno>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "file/durable_file.h"
#include "file/file_access.h"
#include "file/path_names.h"
#include "file/state_files.h"
#include "file/system_reason.h"
#include "model/sprite_store.h"

namespace tessel {

namespace {

using Json = nlohmann::json;
constexpr char kFormat[] = "tessel-sprite-names";
constexpr int kVersion = 1;
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;
constexpr char kNamesKept[] = "sprite names";

bool inCatalogue(int sprite) { return sprite >= 0 && sprite < kSpriteCount; }

// The length of the UTF-8 sequence that `lead` begins (1 for a stray byte,
// which the JSON writer replaces).
std::size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

std::size_t characterCount(std::string_view s)
{
    std::size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

Outcome<PreviewSettings> previewFrom(const Json& p)
{
    using Result = Outcome<PreviewSettings>;
    PreviewSettings settings;
    if (!p.is_object()) return Result::failure("\"preview\" is not an object");
    if (p.contains("sprites")) {
        if (!p["sprites"].is_string()) return Result::failure("the preview's \"sprites\" is not text");
        settings.sprites = p["sprites"].get<std::string>();
        if (settings.sprites.size() > 1000) return Result::failure("the preview's list is too long");
    }
    for (auto [key, field, low, high] : {std::tuple{"fps", &settings.fps, kMinPreviewFps, kMaxPreviewFps},
                                         {"zoom", &settings.zoom, kMinPreviewZoom, kMaxPreviewZoom}}) {
        if (!p.contains(key)) continue;
        if (!p[key].is_number_integer() || p[key].get<long long>() < low || p[key].get<long long>() > high)
            return Result::failure(std::string("the preview's \"") + key + "\" is not a whole number from " +
                                   std::to_string(low) + " to " + std::to_string(high));
        *field = p[key].get<int>();
    }
    return Result::success(settings);
}

} // namespace

std::string tidyName(std::string_view name)
{
    std::string out;
    bool space = false;
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        const std::size_t length = std::min(sequenceLength(c), name.size() - i);
        if (c < 0x20 || c == 0x7F || c == ' ') {
            space = !out.empty();
            ++i;
            continue;
        }
        if (characterCount(out) + (space ? 1 : 0) + 1 > kMaxNameCharacters) break;
        if (space) out += ' ';
        space = false;
        out.append(name.substr(i, length));
        i += length;
    }
    return out;
}

std::string SpriteNames::name(int sprite) const
{
    const auto it = names_.find(sprite);
    return it == names_.end() ? std::string() : it->second;
}

bool SpriteNames::starred(int sprite) const { return stars_.count(sprite) != 0; }

bool SpriteNames::setName(int sprite, std::string_view name)
{
    if (!inCatalogue(sprite)) return false;
    std::string tidy = tidyName(name);
    if (tidy == this->name(sprite)) return false;
    if (tidy.empty()) names_.erase(sprite);
    else names_[sprite] = std::move(tidy);
    return true;
}

bool SpriteNames::setStarred(int sprite, bool starred)
{
    if (!inCatalogue(sprite) || this->starred(sprite) == starred) return false;
    if (starred) stars_.insert(sprite);
    else stars_.erase(sprite);
    return true;
}

MergeCount mergeNames(SpriteNames& into, const SpriteNames& other)
{
    MergeCount count;
    for (const auto& [sprite, name] : other.names()) count.names += into.setName(sprite, name);
    for (int sprite : other.stars()) count.stars += into.setStarred(sprite, true);
    return count;
}

std::string gameTitleText(std::string_view title)
{
    std::string text;
    for (unsigned char c : title) text += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : ' ';
    const auto end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string namesFileName(std::string_view title)
{
    const std::string text = gameTitleText(title);
    std::string stem;
    for (char c : text) {
        const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        stem += plain ? c : '_';
    }
    if (stem.empty()) stem = "untitled";
    // FNV-1a, 32 bits, of the title as kept.
    std::uint32_t hash = 0x811c9dc5u;
    for (unsigned char c : text) hash = (hash ^ c) * 0x01000193u;
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%08x.json", static_cast<unsigned>(hash));
    return stem + suffix;
}

std::string namesToJson(const SpriteNames& names, std::string_view title)
{
    Json sprites = Json::array();
    std::set<int> all = names.stars();
    for (const auto& entry : names.names()) all.insert(entry.first);
    for (int sprite : all) {
        Json entry{{"sprite", sprite}};
        if (const std::string name = names.name(sprite); !name.empty()) entry["name"] = name;
        if (names.starred(sprite)) entry["star"] = true;
        sprites.push_back(std::move(entry));
    }
    const Json file{{"format", kFormat},
                    {"version", kVersion},
                    {"game", gameTitleText(title)},
                    {"sprites", std::move(sprites)},
                    {"preview", {{"sprites", names.preview.sprites}, {"fps", names.preview.fps},
                                 {"zoom", names.preview.zoom}}}};
    return file.dump(1, ' ', false, Json::error_handler_t::replace) + "\n";
}

Outcome<SpriteNames> namesFromJson(std::string_view text)
{
    using Result = Outcome<SpriteNames>;
    const Json file = Json::parse(text, nullptr, false);
    if (file.is_discarded()) return Result::failure("it is not valid JSON");
    if (!file.is_object() || !file.contains("format") || file["format"] != kFormat)
        return Result::failure("it is not a Tessel names file");
    if (!file.contains("version") || !file["version"].is_number_integer() || file["version"] != kVersion)
        return Result::failure("it is of a version this Tessel does not read");
    SpriteNames names;
    if (file.contains("sprites")) {
        if (!file["sprites"].is_array()) return Result::failure("its \"sprites\" is not a list");
        for (const Json& entry : file["sprites"]) {
            if (!entry.is_object() || !entry.contains("sprite") || !entry["sprite"].is_number_integer())
                return Result::failure("an entry has no whole number \"sprite\"");
            const long long sprite = entry["sprite"].get<long long>();
            if (sprite < 0 || sprite >= kSpriteCount)
                return Result::failure("it names sprite " + std::to_string(sprite) + ", which does not exist");
            const int n = static_cast<int>(sprite);
            if (!names.name(n).empty() || names.starred(n))
                return Result::failure("it names sprite " + std::to_string(n) + " twice");
            if (entry.contains("name")) {
                if (!entry["name"].is_string()) return Result::failure("the name of sprite " + std::to_string(n) + " is not text");
                const std::string name = entry["name"].get<std::string>();
                if (characterCount(name) > kMaxNameCharacters)
                    return Result::failure("the name of sprite " + std::to_string(n) + " is longer than " +
                                           std::to_string(kMaxNameCharacters) + " characters");
                names.setName(n, name);
            }
            if (entry.contains("star")) {
                if (!entry["star"].is_boolean()) return Result::failure("the star of sprite " + std::to_string(n) + " is not true or false");
                names.setStarred(n, entry["star"].get<bool>());
            }
        }
    }
    if (file.contains("preview")) {
        Outcome<PreviewSettings> preview = previewFrom(file["preview"]);
        if (!preview.ok) return Result::failure(preview.error);
        names.preview = preview.value;
    }
    return Result::success(std::move(names));
}

namespace {

// `contentFault`, when given, tells a file that was read but is no names
// file from one that could not be read.
Outcome<SpriteNames> namesOfFile(const std::string& path, FileIo& io, bool* contentFault = nullptr)
{
    const auto bytes = readWholeFile(path, kMaxFileBytes, io);
    if (!bytes.ok) return Outcome<SpriteNames>::failure(bytes.error);
    if (contentFault) *contentFault = true;
    return namesFromJson(std::string_view(reinterpret_cast<const char*>(bytes.value.data()), bytes.value.size()));
}

// Renames the file to the first free NAME.damaged, NAME.1.damaged, ...;
// the new name, or empty when it could not be renamed.
std::string setAside(const std::string& path, FileIo& io)
{
    for (int n = 0; n < 100; ++n) {
        const std::string aside = path + (n == 0 ? std::string() : "." + std::to_string(n)) + ".damaged";
        FileStatus status;
        if (io.linkStatus(aside.c_str(), status) == 0) continue;
        if (errno != ENOENT || io.rename(path.c_str(), aside.c_str()) != 0) return {};
        (void)syncFolder(io, folderOf(path)); // the rename is done; a lost flush only brings the old name back
        return aside;
    }
    return {};
}

} // namespace

LoadedNames loadGameNames(const std::string& dir, std::string_view title, FileIo& io)
{
    LoadedNames loaded;
    const std::string path = dir + "/" + namesFileName(title);
    FileStatus status;
    if (io.linkStatus(path.c_str(), status) != 0 && errno == ENOENT) return loaded;
    Outcome<SpriteNames> names = namesOfFile(path, io);
    if (names.ok) {
        loaded.names = std::move(names.value);
        return loaded;
    }
    const std::string aside = setAside(path, io);
    loaded.writable = !aside.empty();
    loaded.notice = aside.empty()
                        ? "The sprite names file " + path + " cannot be used (" + names.error +
                              ") nor set aside, so Tessel leaves it as it is and keeps no names for this game now."
                        : "The sprite names file " + path + " cannot be used (" + names.error +
                              "). It has been renamed " + baseName(aside) +
                              " and kept; Tessel goes on with no names for this game.";
    return loaded;
}

IoResult saveGameNames(const std::string& dir, std::string_view title, const SpriteNames& names, FileIo& io)
{
    if (IoResult r = makeDirectories(dir, io, kNamesKept); !r.ok) return r;
    const std::string json = namesToJson(names, title);
    return replaceFile(dir + "/" + namesFileName(title),
                       {reinterpret_cast<const std::uint8_t*>(json.data()), json.size()}, FileMode::Private, io);
}

IoResult exportNames(const std::string& path, std::string_view title, const SpriteNames& names, FileIo& io)
{
    const std::string json = namesToJson(names, title);
    return writeWholeFile(path, {reinterpret_cast<const std::uint8_t*>(json.data()), json.size()}, io);
}

Outcome<SpriteNames> readNamesFile(const std::string& path, FileIo& io)
{
    bool contentFault = false;
    Outcome<SpriteNames> names = namesOfFile(path, io, &contentFault);
    if (!names.ok && contentFault)
        names.error = baseName(path) + " is not a names file Tessel can take: " + names.error + ".";
    return names;
}

} // namespace tessel
