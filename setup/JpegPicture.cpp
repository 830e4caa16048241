#include "setup/JpegPicture.h"

#include <csetjmp>
#include <cstdio>
#include <string>
#include <utility>

extern "C" {
#include <jpeglib.h>
}

#include "framework/Exception.h"

namespace kv {
namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back
// to the decoder with the message kept (no C++ exception may cross libjpeg's C frames).
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnFatalError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->jump, 1);
}

void SilentMessage(j_common_ptr) {}

}  // namespace

Picture DecodeJpeg(const uint8_t* data, size_t size) {
    Picture picture;
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnFatalError;
    errors.base.output_message = SilentMessage;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        throw Exception(std::string("Cannot read the picture: ") + errors.message);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);

    picture.width = int(info.output_width);
    picture.height = int(info.output_height);
    picture.stride = (size_t(picture.width) * 3 + 3) & ~size_t(3);
    picture.bgr.assign(picture.stride * size_t(picture.height), 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.bgr.data() + picture.stride * info.output_scanline;
        jpeg_read_scanlines(&info, &row, 1);
        for (int x = 0; x < picture.width; ++x) std::swap(row[x * 3], row[x * 3 + 2]);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return picture;
}

}  // namespace kv
