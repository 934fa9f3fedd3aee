#include "preview/heifdecoder.h"

#include "preview/thumbnail.h"

#include <libheif/heif.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace preview {

namespace {

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;

bool Failed(const heif_error& error)
{
    return error.code != heif_error_Ok;
}

// The smallest stored thumbnail that covers the box, if any.
Handle ThumbnailCovering(heif_image_handle* primary, int boxWidth, int boxHeight)
{
    const int count = heif_image_handle_get_number_of_thumbnails(primary);
    if (count <= 0)
        return nullptr;
    std::vector<heif_item_id> ids(static_cast<std::size_t>(count));
    const int listed = heif_image_handle_get_list_of_thumbnail_IDs(primary, ids.data(), count);
    Handle best;
    for (int i = 0; i < listed; ++i) {
        heif_image_handle* thumbnail = nullptr;
        if (Failed(heif_image_handle_get_thumbnail(primary, ids[static_cast<std::size_t>(i)], &thumbnail)))
            continue;
        Handle held(thumbnail);
        const int width = heif_image_handle_get_width(thumbnail);
        const int height = heif_image_handle_get_height(thumbnail);
        if (width >= boxWidth && height >= boxHeight &&
            (!best || width < heif_image_handle_get_width(best.get())))
            best = std::move(held);
    }
    return best;
}

} // namespace

bool LooksLikeHeif(std::string_view start)
{
    return start.size() >= 12 &&
           heif_check_filetype(reinterpret_cast<const uint8_t*>(start.data()), static_cast<int>(start.size())) ==
               heif_filetype_yes_supported;
}

std::optional<DecodedJpeg> DecodeHeifForPreview(std::string_view file, double devicePixelRatio)
{
    try {
        std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
        if (!context || Failed(heif_context_read_from_memory_without_copy(context.get(), file.data(), file.size(), nullptr)))
            return std::nullopt;
        heif_image_handle* primaryHandle = nullptr;
        if (Failed(heif_context_get_primary_image_handle(context.get(), &primaryHandle)))
            return std::nullopt;
        const Handle primary(primaryHandle);
        DecodedJpeg result;
        result.width = heif_image_handle_get_width(primary.get());
        result.height = heif_image_handle_get_height(primary.get());
        if (result.width <= 0 || result.height <= 0)
            return std::nullopt;
        const PictureBox box = PictureBoxFor(result.width, result.height);
        const double ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
        const int boxWidth = static_cast<int>(std::ceil(box.width * ratio));
        const int boxHeight = static_cast<int>(std::ceil(box.height * ratio));

        const Handle thumbnail = ThumbnailCovering(primary.get(), boxWidth, boxHeight);
        // As for a JPEG, a bitmap of more than 1 GiB is refused: a damaged file may claim one.
        if (!thumbnail && std::uint64_t{3} * static_cast<std::uint64_t>(result.width) * static_cast<std::uint64_t>(result.height) >
                              (std::uint64_t{1} << 30))
            return std::nullopt;
        heif_image* decodedImage = nullptr;
        // The file's own transformations are applied by the decoding itself.
        if (Failed(heif_decode_image(thumbnail ? thumbnail.get() : primary.get(), &decodedImage,
                                     heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr)))
            return std::nullopt;
        const std::unique_ptr<heif_image, ImageRelease> decoded(decodedImage);
        int stride = 0;
        const uint8_t* pixels = heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride);
        const int width = heif_image_get_width(decoded.get(), heif_channel_interleaved);
        const int height = heif_image_get_height(decoded.get(), heif_channel_interleaved);
        if (!pixels || width <= 0 || height <= 0 || stride < width * 3)
            return std::nullopt;
        QImage view(pixels, width, height, stride, QImage::Format_RGB888);
        // Twice the box, as the JPEG decoding keeps, and no more: the full picture would be
        // scaled down again at every paint.
        const QSize cover = QSize(width, height).scaled(2 * boxWidth, 2 * boxHeight, Qt::KeepAspectRatioByExpanding);
        if (cover.width() >= width || cover.height() >= height) {
            result.image = view.copy();
        } else {
            // Smooth scaling of a whole camera picture costs as much as a quarter of its
            // decoding; picking every n-th pixel down to four times the size first costs next
            // to nothing, and the smooth step still averages 16 of them into each.
            if (4 * cover.width() < width && 4 * cover.height() < height)
                view = view.scaled(4 * cover, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            result.image = view.scaled(cover, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        if (result.image.isNull())
            return std::nullopt;
        return result;
    } catch (...) {
        return std::nullopt;
    }
}

} // namespace preview
