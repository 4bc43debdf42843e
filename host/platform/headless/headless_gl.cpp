#include "headless_gl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <cstdio>

namespace headless {
namespace {

struct Session {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext context = EGL_NO_CONTEXT;
    GLuint framebuffer = 0;
    GLuint colour = 0;
    PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
};

Session session;

template <typename F> F lookup(const char* name) {
    return reinterpret_cast<F>(eglGetProcAddress(name));
}

bool has_extension(const char* list, const char* name) {
    if (list == nullptr) {
        return false;
    }
    const std::string all = std::string(" ") + list + " ";
    return all.find(std::string(" ") + name + " ") != std::string::npos;
}

std::string egl_error_text(const char* what) {
    char text[160];
    std::snprintf(text, sizeof text, "%s failed (EGL error 0x%04X)", what,
                  static_cast<unsigned>(eglGetError()));
    return text;
}

bool open_display(std::string& error) {
    const char* client = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!has_extension(client, "EGL_MESA_platform_surfaceless")) {
        error = "the EGL library offers no surfaceless platform (EGL_MESA_platform_surfaceless); "
                "install Mesa's EGL (Debian: libegl-mesa0)";
        return false;
    }
    auto get_platform_display = lookup<PFNEGLGETPLATFORMDISPLAYEXTPROC>("eglGetPlatformDisplayEXT");
    if (get_platform_display == nullptr) {
        error = "eglGetPlatformDisplayEXT is missing from the EGL library";
        return false;
    }
    session.display =
        get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (session.display == EGL_NO_DISPLAY) {
        error = egl_error_text("opening the surfaceless EGL display");
        return false;
    }
    if (eglInitialize(session.display, nullptr, nullptr) != EGL_TRUE) {
        error = egl_error_text("eglInitialize") +
                "; is Mesa's EGL with a driver installed (Debian: libegl-mesa0, libgl1-mesa-dri)?";
        session.display = EGL_NO_DISPLAY;
        return false;
    }
    return true;
}

bool create_context(std::string& error) {
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        error = egl_error_text("choosing desktop OpenGL (eglBindAPI)");
        return false;
    }
    const char* display_extensions = eglQueryString(session.display, EGL_EXTENSIONS);
    if (!has_extension(display_extensions, "EGL_KHR_surfaceless_context")) {
        error = "the EGL display cannot make a context current without a surface "
                "(EGL_KHR_surfaceless_context)";
        return false;
    }
    EGLConfig config = EGL_NO_CONFIG_KHR;
    if (!has_extension(display_extensions, "EGL_KHR_no_config_context")) {
        const EGLint wanted[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
        EGLint found = 0;
        if (eglChooseConfig(session.display, wanted, &config, 1, &found) != EGL_TRUE ||
            found == 0) {
            error = "no EGL configuration renders desktop OpenGL";
            return false;
        }
    }
    const EGLint attributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                 4,
                                 EGL_CONTEXT_MINOR_VERSION,
                                 3,
                                 EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                 EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
                                 EGL_NONE};
    session.context = eglCreateContext(session.display, config, EGL_NO_CONTEXT, attributes);
    if (session.context == EGL_NO_CONTEXT) {
        error = egl_error_text("creating an OpenGL 4.3 compatibility-profile context") +
                "; the driver needs OpenGL 4.3 with the compatibility profile (Mesa's llvmpipe "
                "offers it; try LIBGL_ALWAYS_SOFTWARE=1)";
        return false;
    }
    if (eglMakeCurrent(session.display, EGL_NO_SURFACE, EGL_NO_SURFACE, session.context) !=
        EGL_TRUE) {
        error = egl_error_text("making the OpenGL context current");
        return false;
    }
    return true;
}

bool check_version(std::string& error) {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0;
    int minor = 0;
    if (version == nullptr || std::sscanf(version, "%d.%d", &major, &minor) != 2 ||
        major * 10 + minor < 43) {
        error = std::string("OpenGL 4.3 or newer is needed; the driver offers ") +
                (version != nullptr ? version : "no version string");
        return false;
    }
    return true;
}

bool create_framebuffer(std::string& error) {
    auto gen_framebuffers = lookup<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    auto bind_framebuffer = lookup<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    auto gen_renderbuffers = lookup<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    auto bind_renderbuffer = lookup<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    auto renderbuffer_storage = lookup<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
    auto attach = lookup<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    auto check = lookup<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    session.delete_framebuffers = lookup<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
    session.delete_renderbuffers = lookup<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers");
    if (!gen_framebuffers || !bind_framebuffer || !gen_renderbuffers || !bind_renderbuffer ||
        !renderbuffer_storage || !attach || !check || !session.delete_framebuffers ||
        !session.delete_renderbuffers) {
        error = "the driver lacks the framebuffer-object entry points";
        return false;
    }
    gen_renderbuffers(1, &session.colour);
    bind_renderbuffer(GL_RENDERBUFFER, session.colour);
    renderbuffer_storage(GL_RENDERBUFFER, GL_RGBA8, picture_width, picture_height);
    gen_framebuffers(1, &session.framebuffer);
    bind_framebuffer(GL_FRAMEBUFFER, session.framebuffer);
    attach(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, session.colour);
    if (check(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error = "the off-screen 640 x 420 RGBA8 framebuffer is incomplete";
        return false;
    }
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glViewport(0, 0, picture_width, picture_height);
    return true;
}

} // namespace

bool open(std::string& error) {
    if (session.context != EGL_NO_CONTEXT) {
        return true;
    }
    if (open_display(error) && create_context(error) && check_version(error) &&
        create_framebuffer(error)) {
        return true;
    }
    close();
    return false;
}

void close() {
    if (session.context != EGL_NO_CONTEXT) {
        if (session.framebuffer != 0) {
            session.delete_framebuffers(1, &session.framebuffer);
            session.delete_renderbuffers(1, &session.colour);
        }
        eglMakeCurrent(session.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(session.display, session.context);
    }
    if (session.display != EGL_NO_DISPLAY) {
        eglTerminate(session.display);
    }
    session = Session{};
}

void* proc_address(const char* name) {
    return reinterpret_cast<void*>(eglGetProcAddress(name));
}

void read_pixels(std::span<std::uint8_t> rgba) {
    if (rgba.size() < picture_bytes) {
        return;
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, picture_width, picture_height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

void finish() {
    glFinish();
}

std::string renderer_description() {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return std::string(renderer != nullptr ? renderer : "?") + ", OpenGL " +
           (version != nullptr ? version : "?");
}

} // namespace headless
