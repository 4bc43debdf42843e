#include "host/frame_passes.h"

#include "host/gl_api.h"
#include "host/gl_lookup.h"

void draw_frame_passes(std::int32_t play_position, int last_pass) {
    glBindTexture(kGlTexture2d, kPassTexture);
    glTexParameteri(kGlTexture2d, kGlTextureMinFilter, kGlLinear);
    for (int pass = 0; pass <= last_pass && pass <= kLastPass; ++pass) {
        if (auto uniform2i = gl_lookup<PfnGlUniform2i>("glUniform2i")) {
            uniform2i(kUniformPassAndPosition, play_position, pass);
        }
        glRects(1, 1, -1, -1);
        if (pass < kLastPass && pass < last_pass) {
            glCopyTexImage2D(kGlTexture2d, 0, kGlRgba8, 0, 0, kPictureWidth, kPictureHeight, 0);
        }
    }
}
