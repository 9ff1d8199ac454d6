#include "render/offscreengl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <dlfcn.h>

#include "render/names.h"
#include <cstdio>
#include <cstring>
#include <type_traits>

namespace orolith::render {

namespace {

constexpr const char* EGL_LIBRARY = "libEGL.so.1";

std::string hex(EGLint code)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04x", static_cast<unsigned>(code));
    return text;
}

bool hasWord(const char* list, const char* word)
{
    const std::size_t n = std::strlen(word);
    for (const char* p = list ? std::strstr(list, word) : nullptr; p; p = std::strstr(p + 1, word))
        if ((p == list || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0'))
            return true;
    return false;
}

} // namespace

// The entry points used, looked up in the library opened at run time.
struct OffscreenGL::Egl {
    PFNEGLGETPROCADDRESSPROC getProcAddress = nullptr;
    PFNEGLQUERYSTRINGPROC queryString = nullptr;
    PFNEGLGETPLATFORMDISPLAYPROC getPlatformDisplay = nullptr;
    PFNEGLINITIALIZEPROC initialize = nullptr;
    PFNEGLTERMINATEPROC terminate = nullptr;
    PFNEGLGETERRORPROC getError = nullptr;
    PFNEGLCHOOSECONFIGPROC chooseConfig = nullptr;
    PFNEGLCREATEPBUFFERSURFACEPROC createPbufferSurface = nullptr;
    PFNEGLDESTROYSURFACEPROC destroySurface = nullptr;
    PFNEGLBINDAPIPROC bindAPI = nullptr;
    PFNEGLCREATECONTEXTPROC createContext = nullptr;
    PFNEGLDESTROYCONTEXTPROC destroyContext = nullptr;
    PFNEGLMAKECURRENTPROC makeCurrent = nullptr;

    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;

    bool load(std::string& error)
    {
        // Never closed: the GL dispatch keeps pointers into the vendor
        // library for as long as the process runs.
        void* lib = dlopen(EGL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!lib) {
            error = std::string(EGL_LIBRARY) + " cannot be loaded (install the Debian package libegl1)";
            return false;
        }
        bool all = true;
        auto find = [&](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            all = all && fn;
        };
        find(getProcAddress, "eglGetProcAddress");
        find(queryString, "eglQueryString");
        find(initialize, "eglInitialize");
        find(terminate, "eglTerminate");
        find(getError, "eglGetError");
        find(chooseConfig, "eglChooseConfig");
        find(createPbufferSurface, "eglCreatePbufferSurface");
        find(destroySurface, "eglDestroySurface");
        find(bindAPI, "eglBindAPI");
        find(createContext, "eglCreateContext");
        find(destroyContext, "eglDestroyContext");
        find(makeCurrent, "eglMakeCurrent");
        if (!all) {
            error = std::string(EGL_LIBRARY) + " lacks the EGL 1.4 functions";
            return false;
        }
        // EGL 1.5 names it without a suffix; the extension's name is the
        // same function in older libraries.
        getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYPROC>(dlsym(lib, "eglGetPlatformDisplay"));
        if (!getPlatformDisplay)
            getPlatformDisplay =
                reinterpret_cast<PFNEGLGETPLATFORMDISPLAYPROC>(getProcAddress("eglGetPlatformDisplayEXT"));
        if (!getPlatformDisplay) {
            error = "EGL cannot choose a platform (no eglGetPlatformDisplay)";
            return false;
        }
        return true;
    }

    bool fail(std::string& error, const std::string& what)
    {
        error = what + " (EGL error " + hex(getError()) + ")";
        return false;
    }

    bool open(int width, int height, std::string& error)
    {
        if (!load(error))
            return false;
        // Without a vendor library that offers it, the list lacks the
        // platform; the vendor comes with Mesa's EGL.
        if (!hasWord(queryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless")) {
            error = "EGL offers no surfaceless platform (install the Debian packages libegl-mesa0 and "
                    "libgl1-mesa-dri)";
            return false;
        }
        display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        EGLint major = 0, minor = 0;
        if (display == EGL_NO_DISPLAY || !initialize(display, &major, &minor)) {
            display = EGL_NO_DISPLAY;
            return fail(error, "EGL cannot start on the surfaceless platform (is libgl1-mesa-dri installed?)");
        }
        // The viewer's window asks for RGBA with a depth buffer as well.
        const EGLint wanted[] = {EGL_SURFACE_TYPE,
                                 EGL_PBUFFER_BIT,
                                 EGL_RENDERABLE_TYPE,
                                 EGL_OPENGL_BIT,
                                 EGL_RED_SIZE,
                                 8,
                                 EGL_GREEN_SIZE,
                                 8,
                                 EGL_BLUE_SIZE,
                                 8,
                                 EGL_ALPHA_SIZE,
                                 8,
                                 EGL_DEPTH_SIZE,
                                 24,
                                 EGL_NONE};
        EGLConfig config = nullptr;
        EGLint count = 0;
        if (!chooseConfig(display, wanted, &config, 1, &count) || count < 1)
            return fail(error, "EGL has no 8-bit RGBA pbuffer with a 24-bit depth buffer for desktop GL");
        const EGLint size[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
        surface = createPbufferSurface(display, config, size);
        if (surface == EGL_NO_SURFACE)
            return fail(error, "EGL cannot make a pbuffer of " + std::to_string(width) + " x " +
                                   std::to_string(height) + " pixels");
        if (!bindAPI(EGL_OPENGL_API))
            return fail(error, "EGL offers no desktop GL");
        // No version asked for: Mesa then gives its compatibility profile,
        // which keeps the fixed-function pipeline.
        context = createContext(display, config, EGL_NO_CONTEXT, nullptr);
        if (context == EGL_NO_CONTEXT)
            return fail(error, "EGL cannot make a desktop GL context");
        if (!makeCurrent(display, surface, surface, context))
            return fail(error, "EGL cannot make its GL context current");
        return true;
    }

    ~Egl()
    {
        if (display == EGL_NO_DISPLAY)
            return;
        makeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        if (context != EGL_NO_CONTEXT)
            destroyContext(display, context);
        if (surface != EGL_NO_SURFACE)
            destroySurface(display, surface);
        terminate(display);
    }
};

OffscreenGL::OffscreenGL() : egl_(std::make_unique<Egl>()) {}

OffscreenGL::~OffscreenGL() = default;

bool OffscreenGL::open(int width, int height, std::string& error) { return egl_->open(width, height, error); }

} // namespace orolith::render
