#include "font_cut.h"

#include "platform/cp932_tables.h"
#include "platform/encoding.h"

#include <hb-subset.h>
#include <memory>

namespace vorn::datatool {

namespace {

    void addDecoded(std::set<char32_t>& characters, const std::string& cp932)
    {
        std::string utf8 = cp932ToUtf8(cp932);
        Utf8Character c = readUtf8(utf8, 0);
        if (c.size == utf8.size() && c.codePoint != 0xFFFD && !(c.codePoint >= 0xE000 && c.codePoint <= 0xF8FF))
            characters.insert(c.codePoint);
    }

    template <typename T, void (*Destroy)(T*)>
    struct Destroyer {
        void operator()(T* p) const { Destroy(p); }
    };
    template <typename T, void (*Destroy)(T*)>
    using Owned = std::unique_ptr<T, Destroyer<T, Destroy>>;

} // namespace

std::set<char32_t> cp932Characters()
{
    std::set<char32_t> characters;
    for (unsigned first = 0; first < 256; ++first) {
        if (!isCp932LeadByte(static_cast<unsigned char>(first))) {
            addDecoded(characters, std::string(1, static_cast<char>(first)));
            continue;
        }
        for (unsigned trail = Cp932FirstTrail; trail < 256; ++trail)
            addDecoded(characters, { static_cast<char>(first), static_cast<char>(trail) });
    }
    return characters;
}

bool isIdeograph(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF)
        || (c >= 0x20000 && c <= 0x3FFFF);
}

std::optional<std::string> cutFont(const std::vector<std::uint8_t>& font, const std::set<char32_t>& characters)
{
    Owned<hb_blob_t, hb_blob_destroy> blob(hb_blob_create_or_fail(reinterpret_cast<const char*>(font.data()),
        static_cast<unsigned>(font.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    if (!blob)
        return std::nullopt;
    Owned<hb_face_t, hb_face_destroy> face(hb_face_create(blob.get(), 0));
    Owned<hb_subset_input_t, hb_subset_input_destroy> input(hb_subset_input_create_or_fail());
    if (!input || hb_face_get_glyph_count(face.get()) == 0)
        return std::nullopt;
    hb_set_t* wanted = hb_subset_input_unicode_set(input.get());
    for (char32_t c : characters)
        hb_set_add(wanted, c);
    hb_set_clear(hb_subset_input_set(input.get(), HB_SUBSET_SETS_LAYOUT_FEATURE_TAG));
    Owned<hb_face_t, hb_face_destroy> cut(hb_subset_or_fail(face.get(), input.get()));
    if (!cut)
        return std::nullopt;
    Owned<hb_blob_t, hb_blob_destroy> bytes(hb_face_reference_blob(cut.get()));
    unsigned size = 0;
    const char* data = hb_blob_get_data(bytes.get(), &size);
    if (!data || size == 0)
        return std::nullopt;
    return std::string(data, size);
}

} // namespace vorn::datatool
