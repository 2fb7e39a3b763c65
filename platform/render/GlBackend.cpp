// The OpenGL 2.1 (compatibility profile) backend of the drawing layer.
//
// Vertices are taken through the world and texture transforms on submission and queued once,
// with indices for the primitives' triangles; the queue is one batch of the device core, drawn
// with one glDrawRangeElements when a call's draw key differs, on Clear, EndScene, Present and
// read-back. View, projection, viewport, clip planes and the texture stage of the batch's key are
// applied to GL when it is drawn. The texture stage runs as a small GLSL program where GLSL 1.30
// is there (else, or with MARIVEL_GL_FIXED_FUNCTION set in the environment, the fixed function);
// the programs take linear fog from the vertices (colour and factor), so that fog colours and
// switches do not split batches. Textures of at most PAGED_MAX_AREA texels lie in shared page
// textures with their edges repeated around them: drawn with clamped addressing, pictures of one
// page join one batch; other addressing draws from a texture of the picture's own.

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/render/DeviceCore.h"
#include "platform/render/DriverLeaks.h"

namespace render_layer {
namespace {

// Shared textures ("pages") that small textures are placed in, in shelves of rows.
constexpr int PAGE_SIZE = 2048;
constexpr int PAGE_BORDER = 2;  // texels of each edge repeated around a picture
constexpr UINT PAGED_MAX_SIDE = 1024;
constexpr UINT PAGED_MAX_AREA = 512 * 512;
constexpr size_t MAX_PAGES = 4;

struct Shelf {
    int y = 0;
    int height = 0;
    int x = 0;     // first free column
    int live = 0;  // pictures in it
};

struct GlPage {
    GLuint id = 0;
    std::vector<Shelf> shelves;
    int top = 0;  // first row above every shelf
    int live = 0;
    GLint applied[2] = {-1, -1};  // minifying and magnifying filter given to GL
};

// Where a picture lies in a page: its first texel (inside the border).
struct PageSlot {
    GlPage* page = nullptr;
    size_t shelf = 0;
    int x = 0;
    int y = 0;
};

struct GlContext {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
    bool alive = false;
    // Counts deleted textures: a new texture can take a deleted one's address and GL name.
    unsigned deletions = 0;
    // Draws what the owning device has queued (before a texture's pixels change).
    std::function<void()> flush;
    std::vector<std::unique_ptr<GlPage>> pages;
};

GlContext* currentContext = nullptr;

void MakeCurrent(GlContext* context) {
    if (currentContext != context && context->alive) {
        SDL_GL_MakeCurrent(context->window, context->context);
        currentContext = context;
    }
}

float FloatOf(DWORD bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, 4);
    return value;
}

void ColorOf(D3DCOLOR c, GLfloat out[4]) {
    out[0] = static_cast<GLfloat>((c >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<GLfloat>((c >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<GLfloat>(c & 0xFF) / 255.0f;
    out[3] = static_cast<GLfloat>((c >> 24) & 0xFF) / 255.0f;
}

GLenum BlendFactor(DWORD blend) {
    switch (blend) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_ONE: return GL_ONE;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
        case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
        case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
        case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
        case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    }
    return GL_ONE;
}

GLenum CompareFunction(DWORD cmp) {
    switch (cmp) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_LESSEQUAL: return GL_LEQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    }
    return GL_ALWAYS;
}

GLint AddressMode(DWORD mode) {
    switch (mode) {
        case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
        case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    }
    return GL_REPEAT;
}

GLint Filter(DWORD filter) { return filter == D3DTEXF_POINT || filter == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR; }

D3DFORMAT FormatOf(Uint32 sdlFormat) {
    if (SDL_BYTESPERPIXEL(sdlFormat) == 4) {
        return SDL_ISPIXELFORMAT_ALPHA(sdlFormat) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
    if (SDL_BITSPERPIXEL(sdlFormat) == 24) return D3DFMT_R8G8B8;
    if (SDL_BITSPERPIXEL(sdlFormat) == 16) return D3DFMT_R5G6B5;
    if (SDL_BITSPERPIXEL(sdlFormat) == 15) return D3DFMT_X1R5G5B5;
    return D3DFMT_UNKNOWN;
}

// ---------------------------------------------------------------------------------------------

// A place for a picture of the given size with its border, in a page with room or a new one.
bool Place(GlContext& context, int width, int height, PageSlot* slot) {
    const int w = width + 2 * PAGE_BORDER;
    const int h = (height + 2 * PAGE_BORDER + 3) & ~3;
    for (const std::unique_ptr<GlPage>& page : context.pages) {
        // The lowest shelf it fits in, wasting at most half its height; else a new shelf.
        size_t best = page->shelves.size();
        for (size_t i = 0; i < page->shelves.size(); ++i) {
            const Shelf& shelf = page->shelves[i];
            if (shelf.height >= h && shelf.height <= h + h / 2 + 4 && shelf.x + w <= PAGE_SIZE &&
                (best == page->shelves.size() || shelf.height < page->shelves[best].height)) {
                best = i;
            }
        }
        if (best == page->shelves.size()) {
            if (page->top + h > PAGE_SIZE) continue;
            Shelf shelf;
            shelf.y = page->top;
            shelf.height = h;
            page->top += h;
            page->shelves.push_back(shelf);
        }
        Shelf& shelf = page->shelves[best];
        slot->page = page.get();
        slot->shelf = best;
        slot->x = shelf.x + PAGE_BORDER;
        slot->y = shelf.y + PAGE_BORDER;
        shelf.x += w;
        ++shelf.live;
        ++page->live;
        return true;
    }
    if (context.pages.size() >= MAX_PAGES) return false;
    auto page = std::make_unique<GlPage>();
    glGenTextures(1, &page->id);
    glBindTexture(GL_TEXTURE_2D, page->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, PAGE_SIZE, PAGE_SIZE, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    context.pages.push_back(std::move(page));
    return Place(context, width, height, slot);
}

// Gives a picture's place back. An empty page stays for the next pictures: making and freeing
// pages while a screen loads leaves the heap larger than keeping one.
void Vacate(const PageSlot& slot) {
    GlPage* page = slot.page;
    Shelf& shelf = page->shelves[slot.shelf];
    if (--shelf.live == 0) shelf.x = 0;
    while (!page->shelves.empty() && page->shelves.back().live == 0) {
        page->top = page->shelves.back().y;
        page->shelves.pop_back();
    }
    --page->live;
}

class GlTexture : public TextureCore {
public:
    GlTexture(std::shared_ptr<GlContext> context, UINT width, UINT height, D3DFORMAT format)
        : TextureCore(width, height, format, width), _context(std::move(context)) {
        MakeCurrent(_context.get());
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        if (width <= PAGED_MAX_SIDE && height <= PAGED_MAX_SIDE && width * height <= PAGED_MAX_AREA &&
            Place(*_context, static_cast<int>(width), static_cast<int>(height), &_slot)) {
            // The pixels reach the page with their first change, or before the first draw.
        } else {
            MakeOwnTexture();
        }
        // The device's own binding stays as it was.
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    }

    bool Paged() const { return _slot.page != nullptr; }
    GlPage* Page() const { return _slot.page; }
    // Texture coordinates of this picture in its page.
    float PageU(float u) const {
        return (static_cast<float>(_slot.x) + u * static_cast<float>(Width())) * (1.0f / PAGE_SIZE);
    }
    float PageV(float v) const {
        return (static_cast<float>(_slot.y) + v * static_cast<float>(Height())) * (1.0f / PAGE_SIZE);
    }
    // Puts the pixels into the page if they have never been there.
    void EnsureInPage() {
        if (!_inPage) UploadToPage(nullptr);
    }
    // The picture's texture of its own, made when first asked for.
    GLuint OwnId() {
        if (_id == 0) {
            GLint bound = 0;
            glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
            MakeOwnTexture();
            glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
        }
        return _id;
    }
    // Sampler settings last given to GL for the own texture.
    GLint applied[4] = {-1, -1, -1, -1};

protected:
    ~GlTexture() override {
        if (_context->alive) {
            // Queued draws may still take their pixels from here.
            if (_context->flush) _context->flush();
            MakeCurrent(_context.get());
            if (_id != 0) {
                glDeleteTextures(1, &_id);
                ++_context->deletions;
            }
            if (Paged()) Vacate(_slot);
        }
    }

    void OnPixelsChanged(const RECT& rect) override {
        if (!_context->alive) return;
        if (_context->flush) _context->flush();
        MakeCurrent(_context.get());
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        if (_id != 0) {
            glBindTexture(GL_TEXTURE_2D, _id);
            Upload(rect);
        }
        if (Paged()) UploadToPage(_inPage ? &rect : nullptr);
        // The device's own binding stays as it was.
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    }

private:
    void MakeOwnTexture() {
        glGenTextures(1, &_id);
        glBindTexture(GL_TEXTURE_2D, _id);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, Format() == D3DFMT_A8R8G8B8 ? GL_RGBA8 : GL_RGB8,
                     static_cast<GLsizei>(Width()), static_cast<GLsizei>(Height()), 0, GL_BGRA,
                     GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
        RECT all;
        all.right = static_cast<std::int32_t>(Width());
        all.bottom = static_cast<std::int32_t>(Height());
        Upload(all);
    }

    void Upload(const RECT& rect) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(PitchWords()));
        glTexSubImage2D(GL_TEXTURE_2D, 0, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                        GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, Row(static_cast<UINT>(rect.top)) + rect.left);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }

    // The changed part into the page (all of it with the border when null or at an edge); a
    // picture without alpha is opaque there. Pixels with alpha go straight from the picture.
    void UploadToPage(const RECT* changed) {
        const int w = static_cast<int>(Width());
        const int h = static_cast<int>(Height());
        RECT rect;
        const bool whole = changed == nullptr || changed->left == 0 || changed->top == 0 || changed->right == w ||
                           changed->bottom == h;
        if (whole) {
            rect.right = w;
            rect.bottom = h;
        } else {
            rect = *changed;
        }
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glBindTexture(GL_TEXTURE_2D, _slot.page->id);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        if (Format() == D3DFMT_A8R8G8B8) {
            glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(PitchWords()));
            glTexSubImage2D(GL_TEXTURE_2D, 0, _slot.x + rect.left, _slot.y + rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                            Row(static_cast<UINT>(rect.top)) + rect.left);
            glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        } else {
            PutTexels(rect);
        }
        if (whole) {
            // The border: each edge repeated outwards, the corners included.
            const int b = PAGE_BORDER;
            RECT strips[4];
            strips[0] = {-b, -b, w + b, 0};
            strips[1] = {-b, h, w + b, h + b};
            strips[2] = {-b, 0, 0, h};
            strips[3] = {w, 0, w + b, h};
            for (const RECT& strip : strips) PutTexels(strip);
        }
        _inPage = true;
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    }

    // The texels of rect (which may reach into the border, where the nearest edge texel goes),
    // opaque for a picture without alpha, into the bound page.
    void PutTexels(const RECT& rect) {
        const int w = static_cast<int>(Width());
        const int h = static_cast<int>(Height());
        const int rw = rect.right - rect.left;
        const int rh = rect.bottom - rect.top;
        const D3DCOLOR opaque = Format() == D3DFMT_A8R8G8B8 ? 0u : 0xFF000000u;
        std::vector<D3DCOLOR> staging(static_cast<size_t>(rw) * static_cast<size_t>(rh));
        for (int row = 0; row < rh; ++row) {
            const D3DCOLOR* source = Row(static_cast<UINT>(std::min(std::max(rect.top + row, 0), h - 1)));
            D3DCOLOR* target = &staging[static_cast<size_t>(row) * static_cast<size_t>(rw)];
            for (int column = 0; column < rw; ++column) {
                target[column] = source[std::min(std::max(rect.left + column, 0), w - 1)] | opaque;
            }
        }
        glTexSubImage2D(GL_TEXTURE_2D, 0, _slot.x + rect.left, _slot.y + rect.top, rw, rh, GL_BGRA,
                        GL_UNSIGNED_INT_8_8_8_8_REV, staging.data());
    }

    std::shared_ptr<GlContext> _context;
    GLuint _id = 0;
    PageSlot _slot;
    // The pixels have been put into the page.
    bool _inPage = false;
};

// ---------------------------------------------------------------------------------------------
// Stage 0 as a GLSL program: the combiner's arithmetic of ApplyStage0 written out. Without
// perspective (w the same at every vertex, as in 2D drawing) the varyings are interpolated
// linearly, which the software rasteriser does in fewer steps per pixel.

// An argument of a stage operation: "t.rgb", "vec3(color.a)", "(1.0 - factor.a)".
std::string ArgumentText(bool alpha, DWORD arg) {
    const DWORD select = arg & D3DTA_SELECTMASK;
    const std::string source = select == D3DTA_TEXTURE ? "t" : select == D3DTA_TFACTOR ? "factor" : "color";
    std::string value = source + (alpha || (arg & D3DTA_ALPHAREPLICATE) ? ".a" : ".rgb");
    if (!alpha && (arg & D3DTA_ALPHAREPLICATE)) value = "vec3(" + value + ")";
    if (arg & D3DTA_COMPLEMENT) value = (alpha ? "(1.0 - " : "(vec3(1.0) - ") + value + ")";
    return value;
}

// One channel group of the stage, unclamped, as the combiner modes of ApplyStage0 compute it.
std::string CombineText(bool alpha, DWORD op, DWORD arg1, DWORD arg2) {
    if (op == D3DTOP_DISABLE) return ArgumentText(alpha, D3DTA_DIFFUSE);
    const std::string a = ArgumentText(alpha, arg1);
    const std::string b = ArgumentText(alpha, arg2);
    switch (op) {
        case D3DTOP_SELECTARG1: return a;
        case D3DTOP_SELECTARG2: return b;
        case D3DTOP_MODULATE2X: return a + " * " + b + " * 2.0";
        case D3DTOP_MODULATE4X: return a + " * " + b + " * 4.0";
        case D3DTOP_ADD:
        case D3DTOP_ADDSMOOTH: return a + " + " + b;
        case D3DTOP_ADDSIGNED: return a + " + " + b + " - 0.5";
        case D3DTOP_ADDSIGNED2X: return "(" + a + " + " + b + " - 0.5) * 2.0";
        case D3DTOP_SUBTRACT: return a + " - " + b;
        case D3DTOP_BLENDDIFFUSEALPHA: return "mix(" + b + ", " + a + ", color.a)";
        case D3DTOP_BLENDTEXTUREALPHA: return "mix(" + b + ", " + a + ", t.a)";
        default: break;
    }
    return a + " * " + b;
}

// Operations whose result stays within 0..1 for arguments within 0..1 (every argument is).
bool StaysInRange(DWORD op) {
    switch (op) {
        case D3DTOP_DISABLE:
        case D3DTOP_SELECTARG1:
        case D3DTOP_SELECTARG2:
        case D3DTOP_MODULATE:
        case D3DTOP_BLENDDIFFUSEALPHA:
        case D3DTOP_BLENDTEXTUREALPHA: return true;
        default: break;
    }
    return false;
}

// The combined value, clamped to 0..1 where the operation can leave that range.
std::string Clamped(DWORD op, const std::string& value) {
    if (StaysInRange(op)) return value;
    return "clamp(" + value + ", 0.0, 1.0)";
}

GLuint CompileShader(GLenum kind, const std::string& text) {
    const GLuint shader = glCreateShader(kind);
    const char* source = text.c_str();
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok != GL_TRUE) {
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// The program for stage 0 (textured: the texture's operations; else the diffuse colour alone),
// with linear fog from the vertices: the fog colour as the secondary colour, the factor as the
// fog coordinate (1 none); 0 when it does not build.
GLuint BuildStageProgram(bool textured, bool linear, DWORD colorOp, DWORD colorArg1, DWORD colorArg2, DWORD alphaOp,
                         DWORD alphaArg1, DWORD alphaArg2) {
    const std::string interpolation = linear ? "noperspective" : "smooth";
    const std::string varyings = interpolation + " VARY vec4 color;\n" + interpolation + " VARY vec2 uv;\n" +
                                 interpolation + " VARY vec3 fogColor;\n" + interpolation + " VARY float fog;\n";
    auto with = [&varyings](const char* word) {
        std::string text = varyings;
        for (std::size_t at = text.find("VARY"); at != std::string::npos; at = text.find("VARY", at)) {
            text.replace(at, 4, word);
        }
        return text;
    };
    const std::string vertex = "#version 130\n" + with("out") +
                               "void main() {\n"
                               "    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;\n"
                               "    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;\n"
                               "    color = gl_Color;\n"
                               "    uv = gl_MultiTexCoord0.xy;\n"
                               "    fogColor = gl_SecondaryColor.rgb;\n"
                               "    fog = gl_FogCoord;\n"
                               "}\n";
    std::string fragment = "#version 130\n" + with("in") + "uniform sampler2D tex;\nuniform vec4 factor;\nvoid main() {\n";
    if (textured) {
        fragment += "    vec4 t = texture(tex, uv);\n    vec4 c = vec4(" +
                    Clamped(colorOp, CombineText(false, colorOp, colorArg1, colorArg2)) + ", " +
                    Clamped(alphaOp, CombineText(true, alphaOp, alphaArg1, alphaArg2)) + ");\n";
    } else {
        fragment += "    vec4 c = color;\n";
    }
    fragment += "    gl_FragColor = vec4(mix(fogColor, c.rgb, clamp(fog, 0.0, 1.0)), c.a);\n}\n";
    const GLuint vs = CompileShader(GL_VERTEX_SHADER, vertex);
    const GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragment);
    GLuint program = 0;
    if (vs != 0 && fs != 0) {
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        GLint ok = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (ok != GL_TRUE) {
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vs != 0) glDeleteShader(vs);
    if (fs != 0) glDeleteShader(fs);
    return program;
}

// Whether the context compiles GLSL 1.30 (noperspective varyings).
bool HasGlsl130() {
    const char* text = reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION));
    if (text == nullptr) return false;
    char* end = nullptr;
    const long major = std::strtol(text, &end, 10);
    const long minor = end != nullptr && *end == '.' ? std::strtol(end + 1, nullptr, 10) : 0;
    return major > 1 || (major == 1 && minor >= 30);
}

struct StageProgram {
    GLuint id = 0;
    GLint factor = -1;  // uniform location of the texture factor
};

// ---------------------------------------------------------------------------------------------

struct QueuedVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    std::uint32_t rgba = 0;  // bytes red, green, blue, alpha
    float u = 0.0f, v = 0.0f;
    // Fog in the vertex (programs): colour bytes red, green, blue and the factor (1 none);
    // else the screen depth that GL's fog takes.
    std::uint32_t fogRgba = 0;
    float fog = 0.0f;
};

std::uint32_t Rgba(D3DCOLOR c) { return (c & 0xFF00FF00u) | ((c >> 16) & 0xFFu) | ((c & 0xFFu) << 16); }

class GlDevice : public DeviceCore {
public:
    GlDevice(std::shared_ptr<GlContext> context, const D3DPRESENT_PARAMETERS& parameters, const D3DCAPS8& caps)
        : DeviceCore(parameters, caps), _context(std::move(context)) {
        _context->flush = [this] { SubmitBatch(); };
        _swapInterval = SwapIntervalOf(parameters);
        MakeCurrent(_context.get());
        ApplySwapInterval();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_FOG_COORD_ARRAY);
        glFogi(GL_FOG_COORD_SRC, GL_FOG_COORD);
        glHint(GL_FOG_HINT, GL_NICEST);
        _queue.reserve(4 * 4096);
        _indices.reserve(6 * 4096);
        _hasSync = SDL_GL_ExtensionSupported("GL_ARB_sync") == SDL_TRUE;
        _programs = HasGlsl130() && std::getenv("MARIVEL_GL_FIXED_FUNCTION") == nullptr;
        if (_programs) glEnableClientState(GL_SECONDARY_COLOR_ARRAY);
    }

    HRESULT ReadBackBuffer(std::vector<D3DCOLOR>* pixels, UINT* width, UINT* height) override {
        if (pixels == nullptr || width == nullptr || height == nullptr) return D3DERR_INVALIDCALL;
        SubmitBatch();
        MakeCurrent(_context.get());
        int w = 0;
        int h = 0;
        SDL_GL_GetDrawableSize(_context->window, &w, &h);
        if (w <= 0 || h <= 0) return D3DERR_NOTAVAILABLE;
        std::vector<D3DCOLOR> bottomUp(static_cast<size_t>(w) * static_cast<size_t>(h));
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, bottomUp.data());
        pixels->resize(bottomUp.size());
        for (int row = 0; row < h; ++row) {
            std::memcpy(&(*pixels)[static_cast<size_t>(row) * static_cast<size_t>(w)],
                        &bottomUp[static_cast<size_t>(h - 1 - row) * static_cast<size_t>(w)],
                        static_cast<size_t>(w) * 4);
        }
        *width = static_cast<UINT>(w);
        *height = static_cast<UINT>(h);
        return D3D_OK;
    }

    void PrepareDrawing() override {
        // A picture in a page and pictures of their own (larger than a page takes, sides not
        // powers of two) with and without alpha.
        IDirect3DTexture8* textures[3] = {};
        const UINT sides[3] = {4, 513, 513};
        const D3DFORMAT formats[3] = {D3DFMT_A8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8};
        for (int i = 0; i < 3; ++i) CreateTexture(sides[i], sides[i], 1, 0, formats[i], D3DPOOL_MANAGED, &textures[i]);
        // The stage setups of the render device's binds: normal, as a mask, adding, without alpha.
        const DWORD setups[][3] = {{D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_MODULATE},
                                   {D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTOP_MODULATE},
                                   {D3DTOP_ADD, D3DTA_TEXTURE, D3DTOP_MODULATE},
                                   {D3DTOP_ADD, D3DTA_DIFFUSE, D3DTOP_MODULATE},
                                   {D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTOP_SELECTARG2}};
        const float corner[][6] = {{0, 0, 0, 0, 0, 0}, {1, 0, 0, 0, 1, 0}, {0, 1, 0, 0, 0, 1}, {1, 1, 0, 0, 1, 1}};
        struct {
            float x, y, z;
            D3DCOLOR color;
            float u, v;
        } quad[4];
        for (int i = 0; i < 4; ++i) quad[i] = {corner[i][0], corner[i][1], 0.0f, 0x80FFFFFF, corner[i][4], corner[i][5]};
        // One pixel in the corner of the screen's projection, as the 2D mode draws.
        D3DXMATRIX projection;
        D3DXMatrixOrthoOffCenterLH(&projection, 0, static_cast<float>(Viewport().Width), 0,
                                   static_cast<float>(Viewport().Height), -1000, 1000);
        SetTransform(D3DTS_PROJECTION, &projection);
        SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
        SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        const float fogStart = 0.0f;
        const float fogEnd = 1.0f;
        SetRenderState(D3DRS_FOGSTART, *reinterpret_cast<const DWORD*>(&fogStart));
        SetRenderState(D3DRS_FOGEND, *reinterpret_cast<const DWORD*>(&fogEnd));
        SetRenderState(D3DRS_FOGTABLEMODE, D3DFOG_LINEAR);
        SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
        BeginScene();
        // With the depth test (a depth buffer of unknown content) and without it (a 2D frame's,
        // cleared to the far value and never written).
        for (int pass = 0; pass < 2; ++pass) {
            if (pass == 1) Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
            for (const DWORD destination : {D3DBLEND_INVSRCALPHA, D3DBLEND_ONE}) {
                SetRenderState(D3DRS_DESTBLEND, destination);
                SetTexture(0, nullptr);
                DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(quad[0]));
                for (int t = 0; t < 3; ++t) {
                    SetTexture(0, textures[t]);
                    for (const DWORD address : {D3DTADDRESS_CLAMP, D3DTADDRESS_WRAP}) {
                        SetTextureStageState(0, D3DTSS_ADDRESSU, address);
                        SetTextureStageState(0, D3DTSS_ADDRESSV, address);
                        for (const DWORD filter : {D3DTEXF_LINEAR, D3DTEXF_POINT}) {
                            SetTextureStageState(0, D3DTSS_MINFILTER, filter);
                            SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
                            // Every setup for clamped, filtered pictures with alpha; the normal ones else.
                            const bool main = address == D3DTADDRESS_CLAMP && filter == D3DTEXF_LINEAR && t != 2;
                            for (const auto& setup : setups) {
                                if (!main && setup[0] == D3DTOP_ADD) continue;
                                SetTextureStageState(0, D3DTSS_COLOROP, setup[0]);
                                SetTextureStageState(0, D3DTSS_COLORARG1, setup[1]);
                                SetTextureStageState(0, D3DTSS_ALPHAOP, setup[2]);
                                DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(quad[0]));
                            }
                        }
                    }
                }
            }
        }
        // Clip rectangles add user planes, one to all of them: each stage setup with each count
        // (the planes keep everything).
        const float keepAll[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
        SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
        SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
        SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
        SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        for (DWORD planes = 1; planes <= MAX_USER_CLIP_PLANES; ++planes) {
            SetClipPlane(planes - 1, keepAll);
            SetRenderState(D3DRS_CLIPPLANEENABLE, (1u << planes) - 1);
            SetTexture(0, nullptr);
            DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(quad[0]));
            SetTexture(0, textures[0]);
            for (const auto& setup : setups) {
                SetTextureStageState(0, D3DTSS_COLOROP, setup[0]);
                SetTextureStageState(0, D3DTSS_COLORARG1, setup[1]);
                SetTextureStageState(0, D3DTSS_ALPHAOP, setup[2]);
                DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(quad[0]));
            }
        }
        SetRenderState(D3DRS_CLIPPLANEENABLE, 0);
        EndScene();
        SetTexture(0, nullptr);
        for (IDirect3DTexture8* texture : textures) {
            if (texture != nullptr) texture->Release();
        }
        SetDefaultStates();
        MakeCurrent(_context.get());
        glFinish();
    }

protected:
    ~GlDevice() override {
        _context->flush = nullptr;
        _queue.clear();
        _indices.clear();
        // Textures bound here are released by the base; the context goes once nothing draws.
        MakeCurrent(_context.get());
        DeleteFences();
        glUseProgram(0);
        for (const auto& entry : _stagePrograms) {
            if (entry.second.id != 0) glDeleteProgram(entry.second.id);
        }
        if (currentContext == _context.get()) currentContext = nullptr;
        _context->alive = false;
        DriverLeakScope driver;
        SDL_GL_MakeCurrent(_context->window, nullptr);
        SDL_GL_DeleteContext(_context->context);
    }

    void BeforeStateChange(Change change) override {
        if (change == Change::Other) _viewProjectionValid = false;
    }

    bool FogInVertices() const override { return _programs && DeviceCore::FogInVertices(); }

    const void* TextureGroup(TextureCore* texture) const override {
        const GlTexture* gl = static_cast<const GlTexture*>(texture);
        return gl->Paged() && DrawsFromPage() ? static_cast<const void*>(gl->Page()) : texture;
    }

    TextureCore* NewTexture(UINT width, UINT height, D3DFORMAT format) override {
        return new GlTexture(_context, width, height, format);
    }

    HRESULT DoReset(const D3DPRESENT_PARAMETERS& parameters) override {
        SDL_Window* window = _context->window;
        if (!parameters.Windowed) {
            SDL_DisplayMode mode;
            if (SDL_GetWindowDisplayMode(window, &mode) == 0) {
                mode.w = static_cast<int>(parameters.BackBufferWidth);
                mode.h = static_cast<int>(parameters.BackBufferHeight);
                SDL_SetWindowDisplayMode(window, &mode);
            }
            if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) return D3DERR_NOTAVAILABLE;
        } else {
            SDL_SetWindowFullscreen(window, 0);
        }
        _swapInterval = SwapIntervalOf(parameters);
        ApplySwapInterval();
        _applied = Applied();
        return D3D_OK;
    }

    void BackBufferSize(UINT* width, UINT* height) const override {
        int w = 0;
        int h = 0;
        SDL_GL_GetDrawableSize(_context->window, &w, &h);
        *width = static_cast<UINT>(std::max(w, 0));
        *height = static_cast<UINT>(std::max(h, 0));
    }

    void DoClear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z) override {
        MakeCurrent(_context.get());
        const D3DVIEWPORT8& vp = Viewport();
        int drawableWidth = 0;
        int drawableHeight = 0;
        SDL_GL_GetDrawableSize(_context->window, &drawableWidth, &drawableHeight);
        const bool whole = count == 0 && vp.X == 0 && vp.Y == 0 && vp.Width >= (DWORD)drawableWidth &&
                           vp.Height >= (DWORD)drawableHeight;
        GLbitfield bits = 0;
        if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
        if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
        if (flags & D3DCLEAR_ZBUFFER) {
            if (whole && z == 1.0f) {
                // Done once a draw tests or writes depth: 2D frames never touch the buffer.
                _depthClearPending = true;
                _depthPristine = true;
            } else {
                ClearPendingDepth();
                bits |= GL_DEPTH_BUFFER_BIT;
                if (z != 1.0f) _depthPristine = false;
            }
        }
        if (bits == 0) return;
        GLfloat c[4];
        ColorOf(color, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        glClearDepth(z);
        glClearStencil(0);
        glDepthMask(GL_TRUE);
        glEnable(GL_SCISSOR_TEST);
        if (count == 0) {
            glScissor(static_cast<GLint>(vp.X), drawableHeight - static_cast<GLint>(vp.Y + vp.Height),
                      static_cast<GLsizei>(vp.Width), static_cast<GLsizei>(vp.Height));
            glClear(bits);
        }
        for (DWORD i = 0; i < count; ++i) {
            const D3DRECT& r = rects[i];
            // Only the part inside the viewport is cleared.
            const std::int32_t left = std::max<std::int32_t>(r.left, static_cast<std::int32_t>(vp.X));
            const std::int32_t top = std::max<std::int32_t>(r.top, static_cast<std::int32_t>(vp.Y));
            const std::int32_t right = std::min<std::int32_t>(r.right, static_cast<std::int32_t>(vp.X + vp.Width));
            const std::int32_t bottom =
                std::min<std::int32_t>(r.bottom, static_cast<std::int32_t>(vp.Y + vp.Height));
            if (left >= right || top >= bottom) continue;
            glScissor(left, drawableHeight - bottom, right - left, bottom - top);
            glClear(bits);
        }
        glDisable(GL_SCISSOR_TEST);
        _depthMaskStale = true;
    }

    // Clears the whole depth buffer to the far value if a clear of it is still owed.
    void ClearPendingDepth() {
        if (!_depthClearPending) return;
        _depthClearPending = false;
        glClearDepth(1.0);
        glDepthMask(GL_TRUE);
        glClear(GL_DEPTH_BUFFER_BIT);
        _depthMaskStale = true;
    }

    void DoPresent() override {
        MakeCurrent(_context.get());
        SDL_GL_SwapWindow(_context->window);
        BoundFramesInFlight();
    }

    // An offscreen swap never blocks: without a bound the driver queues every frame. Waits until
    // the frame presented FRAMES_IN_FLIGHT presents ago is finished, then fences this one.
    void BoundFramesInFlight() {
        GLsync& slot = _fences[_presents % FRAMES_IN_FLIGHT];
        ++_presents;
        if (!_hasSync) {
            if (_presents % FRAMES_IN_FLIGHT == 0) glFinish();
            return;
        }
        if (slot != nullptr) {
            glClientWaitSync(slot, GL_SYNC_FLUSH_COMMANDS_BIT, FENCE_TIMEOUT_NS);
            glDeleteSync(slot);
        }
        slot = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    }

    void DeleteFences() {
        for (GLsync& fence : _fences) {
            if (fence != nullptr && _hasSync) glDeleteSync(fence);
            fence = nullptr;
        }
    }

    void Draw(D3DPRIMITIVETYPE type, UINT primitiveCount, const BYTE* data, UINT stride, UINT vertexCount) override {
        if (_queue.size() + vertexCount > MAX_QUEUED_VERTICES) SubmitAndReopen();
        const DWORD fvf = Fvf();
        const D3DXMATRIX& w = World();
        const bool texTransform = StageStateValue(0, D3DTSS_TEXTURETRANSFORMFLAGS) != D3DTTFF_DISABLE;
        const D3DXMATRIX& t = TextureTransform(0);
        // A picture in a page is drawn from there: its coordinates move into the page.
        GlTexture* paged = nullptr;
        if (BatchKey().texture != nullptr && BatchKey().textureGroup != BatchKey().texture) {
            paged = static_cast<GlTexture*>(StageTexture(0));
            MakeCurrent(_context.get());
            paged->EnsureInPage();
        } else if (BatchKey().texture != nullptr) {
            // A texture of its own is made with the pixels of now, not of when the batch is drawn.
            MakeCurrent(_context.get());
            static_cast<GlTexture*>(StageTexture(0))->OwnId();
        }
        const bool fog = RenderStateValue(D3DRS_FOGENABLE) && RenderStateValue(D3DRS_FOGTABLEMODE) != D3DFOG_NONE;
        const bool vertexFog = FogInVertices();
        const D3DXMATRIX* fogMatrix = fog ? &ViewProjection() : nullptr;
        const std::uint32_t fogRgba = fog && vertexFog ? Rgba(RenderStateValue(D3DRS_FOGCOLOR)) : 0u;
        // Vertices are queued once; indices make the primitives' triangles (or lines) of them.
        const GLuint base = static_cast<GLuint>(_queue.size());
        for (UINT i = 0; i < vertexCount; ++i) {
            const Vertex v = DecodeVertex(fvf, data + static_cast<size_t>(i) * stride);
            QueuedVertex q;
            q.x = v.x * w._11 + v.y * w._21 + v.z * w._31 + w._41;
            q.y = v.x * w._12 + v.y * w._22 + v.z * w._32 + w._42;
            q.z = v.x * w._13 + v.y * w._23 + v.z * w._33 + w._43;
            q.rgba = Rgba(v.color);
            if (texTransform) {
                TransformUV(t, v.u, v.v, &q.u, &q.v);
            } else {
                q.u = v.u;
                q.v = v.v;
            }
            if (paged != nullptr) {
                q.u = paged->PageU(q.u);
                q.v = paged->PageV(q.v);
            }
            q.fogRgba = fogRgba;
            q.fog = 1.0f;
            if (fogMatrix != nullptr) {
                const D3DXMATRIX& m = *fogMatrix;
                const float cz = q.x * m._13 + q.y * m._23 + q.z * m._33 + m._43;
                const float cw = q.x * m._14 + q.y * m._24 + q.z * m._34 + m._44;
                const float depth = cw != 0.0f ? cz / cw : cz;
                q.fog = vertexFog ? LinearFogFactor(depth) : depth;
            }
            _queue.push_back(q);
        }
        switch (type) {
            case D3DPT_POINTLIST:
            case D3DPT_LINELIST:
            case D3DPT_TRIANGLELIST:
                for (UINT i = 0; i < vertexCount; ++i) _indices.push_back(base + i);
                break;
            case D3DPT_LINESTRIP:
                for (UINT i = 0; i < primitiveCount; ++i) {
                    _indices.push_back(base + i);
                    _indices.push_back(base + i + 1);
                }
                break;
            case D3DPT_TRIANGLESTRIP:
                for (UINT i = 0; i < primitiveCount; ++i) {
                    // Odd triangles swap their first two vertices to keep the winding.
                    _indices.push_back(base + i + (i & 1));
                    _indices.push_back(base + i + 1 - (i & 1));
                    _indices.push_back(base + i + 2);
                }
                break;
            case D3DPT_TRIANGLEFAN:
                for (UINT i = 0; i < primitiveCount; ++i) {
                    _indices.push_back(base);
                    _indices.push_back(base + i + 1);
                    _indices.push_back(base + i + 2);
                }
                break;
        }
    }

    void Submit(const DrawKey& key) override {
        if (_queue.empty()) return;
        MakeCurrent(_context.get());
        ApplyState(key);
        const QueuedVertex* base = _queue.data();
        glVertexPointer(3, GL_FLOAT, sizeof(QueuedVertex), &base->x);
        glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(QueuedVertex), &base->rgba);
        glTexCoordPointer(2, GL_FLOAT, sizeof(QueuedVertex), &base->u);
        glFogCoordPointer(GL_FLOAT, sizeof(QueuedVertex), &base->fog);
        if (_programs) glSecondaryColorPointer(3, GL_UNSIGNED_BYTE, sizeof(QueuedVertex), &base->fogRgba);
        const bool depthWrites = key.renderStates[D3DRS_ZENABLE] && key.renderStates[D3DRS_ZWRITEENABLE];
        if (_applied.depthTest || depthWrites) ClearPendingDepth();
        if (_depthMaskStale) {
            glDepthMask(depthWrites ? GL_TRUE : GL_FALSE);
            _depthMaskStale = false;
        }
        const GLenum mode =
            key.family == D3DPT_POINTLIST ? GL_POINTS : key.family == D3DPT_LINELIST ? GL_LINES : GL_TRIANGLES;
        glDrawRangeElements(mode, 0, static_cast<GLuint>(_queue.size() - 1), static_cast<GLsizei>(_indices.size()),
                            GL_UNSIGNED_INT, _indices.data());
        if (depthWrites) _depthPristine = false;
        _queue.clear();
        _indices.clear();
    }

private:
    // State last given to GL, to skip repeated calls.
    struct Applied {
        bool valid = false;
        D3DVIEWPORT8 viewport;
        int drawableHeight = -1;
        D3DXMATRIX projection;
        D3DXMATRIX view;
        float planes[MAX_USER_CLIP_PLANES][4] = {};
        DWORD planeMask = ~0u;
        DWORD renderStates[D3DRS_COUNT] = {};
        DWORD stage0[D3DTSS_COUNT] = {};
        GLuint texture = 0;
        bool textured = false;
        unsigned deletions = 0;
        bool depthTest = false;
    };

    // Whether the current stage states draw a paged picture from its page: clamped on both axes.
    bool DrawsFromPage() const {
        return StageStateValue(0, D3DTSS_ADDRESSU) == D3DTADDRESS_CLAMP &&
               StageStateValue(0, D3DTSS_ADDRESSV) == D3DTADDRESS_CLAMP;
    }

    int DrawableHeight() const {
        int w = 0;
        int h = 0;
        SDL_GL_GetDrawableSize(_context->window, &w, &h);
        return h;
    }

    // A window presents at once; full screen waits for the display unless asked not to.
    static int SwapIntervalOf(const D3DPRESENT_PARAMETERS& parameters) {
        return !parameters.Windowed && parameters.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE ? 1
                                                                                                                    : 0;
    }

    void ApplySwapInterval() {
        MakeCurrent(_context.get());
        SDL_GL_SetSwapInterval(_swapInterval);
    }

    bool Changed(const DrawKey& key, std::initializer_list<DWORD> states) const {
        if (!_applied.valid) return true;
        for (DWORD s : states) {
            if (_applied.renderStates[s] != key.renderStates[s]) return true;
        }
        return false;
    }

    void ApplyState(const DrawKey& key) {
        const DWORD* rs = key.renderStates;
        const D3DVIEWPORT8& vp = key.viewport;
        const int height = DrawableHeight();
        const bool viewportChanged = !_applied.valid || height != _applied.drawableHeight ||
                                     std::memcmp(&vp, &_applied.viewport, sizeof(vp)) != 0;
        if (viewportChanged) {
            glViewport(static_cast<GLint>(vp.X), height - static_cast<GLint>(vp.Y + vp.Height),
                       static_cast<GLsizei>(vp.Width), static_cast<GLsizei>(vp.Height));
            glDepthRange(vp.MinZ, vp.MaxZ);
        }
        if (viewportChanged || key.projection != _applied.projection) {
            // Depth 0..1 becomes -1..1, and pixel centres move from integers to halves.
            D3DXMATRIX depth;
            D3DXMatrixIdentity(&depth);
            depth._33 = 2.0f;
            depth._43 = -1.0f;
            D3DXMATRIX shift;
            D3DXMatrixIdentity(&shift);
            shift._41 = 1.0f / static_cast<float>(std::max<DWORD>(vp.Width, 1));
            shift._42 = -1.0f / static_cast<float>(std::max<DWORD>(vp.Height, 1));
            const D3DXMATRIX m = key.projection * depth * shift;
            glMatrixMode(GL_PROJECTION);
            glLoadMatrixf(&m._11);
        }
        const DWORD planeMask = rs[D3DRS_CLIPPLANEENABLE] & ((1u << MAX_USER_CLIP_PLANES) - 1);
        bool planesChanged = !_applied.valid || key.view != _applied.view || planeMask != _applied.planeMask;
        for (DWORD i = 0; i < MAX_USER_CLIP_PLANES && !planesChanged; ++i) {
            planesChanged = (planeMask & (1u << i)) && std::memcmp(key.clipPlanes[i], _applied.planes[i], 16) != 0;
        }
        if (planesChanged) {
            // Vertices arrive in world space; the planes are given in world space under the view.
            glMatrixMode(GL_MODELVIEW);
            glLoadMatrixf(&key.view._11);
            for (DWORD i = 0; i < MAX_USER_CLIP_PLANES; ++i) {
                if (planeMask & (1u << i)) {
                    const float* p = key.clipPlanes[i];
                    const GLdouble equation[4] = {p[0], p[1], p[2], p[3]};
                    glClipPlane(GL_CLIP_PLANE0 + i, equation);
                    glEnable(GL_CLIP_PLANE0 + i);
                } else {
                    glDisable(GL_CLIP_PLANE0 + i);
                }
                std::memcpy(_applied.planes[i], key.clipPlanes[i], 16);
            }
            _applied.view = key.view;
            _applied.planeMask = planeMask;
        }
        if (Changed(key, {D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND, D3DRS_DESTBLEND})) {
            if (rs[D3DRS_ALPHABLENDENABLE]) {
                glEnable(GL_BLEND);
            } else {
                glDisable(GL_BLEND);
            }
            glBlendFunc(BlendFactor(rs[D3DRS_SRCBLEND]), BlendFactor(rs[D3DRS_DESTBLEND]));
        }
        if (Changed(key, {D3DRS_ALPHATESTENABLE, D3DRS_ALPHAFUNC, D3DRS_ALPHAREF})) {
            if (rs[D3DRS_ALPHATESTENABLE] && rs[D3DRS_ALPHAFUNC] != D3DCMP_ALWAYS) {
                glEnable(GL_ALPHA_TEST);
            } else {
                glDisable(GL_ALPHA_TEST);
            }
            glAlphaFunc(CompareFunction(rs[D3DRS_ALPHAFUNC]), static_cast<GLclampf>(rs[D3DRS_ALPHAREF] & 0xFF) / 255.0f);
        }
        // A depth buffer that holds nothing but the cleared far value passes every fragment
        // that LESSEQUAL or ALWAYS tests and no draw writes it: the test can stay off.
        const DWORD zFunc = rs[D3DRS_ZFUNC];
        const bool depthTest = rs[D3DRS_ZENABLE] && !(_depthPristine && !rs[D3DRS_ZWRITEENABLE] &&
                                                      (zFunc == D3DCMP_LESSEQUAL || zFunc == D3DCMP_ALWAYS));
        if (Changed(key, {D3DRS_ZENABLE, D3DRS_ZWRITEENABLE, D3DRS_ZFUNC}) || depthTest != _applied.depthTest) {
            if (depthTest) {
                glEnable(GL_DEPTH_TEST);
            } else {
                glDisable(GL_DEPTH_TEST);
            }
            _depthMaskStale = true;
            glDepthFunc(CompareFunction(zFunc));
            _applied.depthTest = depthTest;
        }
        if (Changed(key, {D3DRS_CULLMODE})) {
            // Clockwise on the screen (rows downwards) is counter-clockwise in GL's window space.
            const DWORD cull = rs[D3DRS_CULLMODE];
            if (cull == D3DCULL_CW || cull == D3DCULL_CCW) {
                glEnable(GL_CULL_FACE);
                glFrontFace(GL_CCW);
                glCullFace(cull == D3DCULL_CW ? GL_FRONT : GL_BACK);
            } else {
                glDisable(GL_CULL_FACE);
            }
        }
        // GL's own fog only where the vertices do not carry it (their keys leave it out).
        if (Changed(key, {D3DRS_FOGENABLE, D3DRS_FOGTABLEMODE, D3DRS_FOGSTART, D3DRS_FOGEND, D3DRS_FOGDENSITY,
                          D3DRS_FOGCOLOR})) {
            const DWORD mode = rs[D3DRS_FOGTABLEMODE];
            if (rs[D3DRS_FOGENABLE] && mode != D3DFOG_NONE) {
                glEnable(GL_FOG);
                glFogi(GL_FOG_MODE, mode == D3DFOG_LINEAR ? GL_LINEAR : mode == D3DFOG_EXP ? GL_EXP : GL_EXP2);
                glFogf(GL_FOG_START, FloatOf(rs[D3DRS_FOGSTART]));
                glFogf(GL_FOG_END, FloatOf(rs[D3DRS_FOGEND]));
                glFogf(GL_FOG_DENSITY, FloatOf(rs[D3DRS_FOGDENSITY]));
                GLfloat c[4];
                ColorOf(rs[D3DRS_FOGCOLOR], c);
                glFogfv(GL_FOG_COLOR, c);
            } else {
                glDisable(GL_FOG);
            }
        }
        ApplyStage0(key);
        UseStageProgram(key);
        std::memcpy(_applied.renderStates, rs, sizeof(_applied.renderStates));
        _applied.viewport = vp;
        _applied.drawableHeight = height;
        _applied.projection = key.projection;
        _applied.valid = true;
    }

    static GLint Source(DWORD arg) {
        switch (arg & D3DTA_SELECTMASK) {
            case D3DTA_TEXTURE: return GL_TEXTURE;
            case D3DTA_TFACTOR: return GL_CONSTANT;
        }
        return GL_PRIMARY_COLOR;  // diffuse, and current on the first stage
    }

    static GLint ColorOperand(DWORD arg) {
        const bool alpha = (arg & D3DTA_ALPHAREPLICATE) != 0;
        if (arg & D3DTA_COMPLEMENT) return alpha ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE_MINUS_SRC_COLOR;
        return alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    }

    static GLint AlphaOperand(DWORD arg) { return (arg & D3DTA_COMPLEMENT) ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA; }

    // One channel group (colour or alpha) of the combiner from a stage operation.
    static void Combine(bool alpha, DWORD op, DWORD arg1, DWORD arg2) {
        const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
        const GLenum source0 = alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB;
        const GLenum source1 = alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB;
        const GLenum source2 = alpha ? GL_SRC2_ALPHA : GL_SRC2_RGB;
        const GLenum operand0 = alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB;
        const GLenum operand1 = alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB;
        const GLenum operand2 = alpha ? GL_OPERAND2_ALPHA : GL_OPERAND2_RGB;
        const GLenum scale = alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE;
        auto operand = [alpha](DWORD arg) { return alpha ? AlphaOperand(arg) : ColorOperand(arg); };
        GLint mode = GL_MODULATE;
        GLfloat factor = 1.0f;
        switch (op) {
            case D3DTOP_DISABLE:
                mode = GL_REPLACE;
                arg1 = D3DTA_DIFFUSE;
                break;
            case D3DTOP_SELECTARG1: mode = GL_REPLACE; break;
            case D3DTOP_SELECTARG2:
                mode = GL_REPLACE;
                arg1 = arg2;
                break;
            case D3DTOP_MODULATE2X: factor = 2.0f; break;
            case D3DTOP_MODULATE4X: factor = 4.0f; break;
            case D3DTOP_ADD:
            case D3DTOP_ADDSMOOTH: mode = GL_ADD; break;
            case D3DTOP_ADDSIGNED: mode = GL_ADD_SIGNED; break;
            case D3DTOP_ADDSIGNED2X:
                mode = GL_ADD_SIGNED;
                factor = 2.0f;
                break;
            case D3DTOP_SUBTRACT: mode = GL_SUBTRACT; break;
            case D3DTOP_BLENDDIFFUSEALPHA:
            case D3DTOP_BLENDTEXTUREALPHA: mode = GL_INTERPOLATE; break;
            default: break;
        }
        glTexEnvi(GL_TEXTURE_ENV, combine, mode);
        glTexEnvi(GL_TEXTURE_ENV, source0, Source(arg1));
        glTexEnvi(GL_TEXTURE_ENV, operand0, operand(arg1));
        glTexEnvi(GL_TEXTURE_ENV, source1, Source(arg2));
        glTexEnvi(GL_TEXTURE_ENV, operand1, operand(arg2));
        glTexEnvi(GL_TEXTURE_ENV, source2, op == D3DTOP_BLENDTEXTUREALPHA ? GL_TEXTURE : GL_PRIMARY_COLOR);
        glTexEnvi(GL_TEXTURE_ENV, operand2, GL_SRC_ALPHA);
        glTexEnvf(GL_TEXTURE_ENV, scale, factor);
    }

    // The program of the batch's stage 0, or the fixed function under GL's own fog (and without GLSL).
    void UseStageProgram(const DrawKey& key) {
        const DWORD* rs = key.renderStates;
        const bool fog = rs[D3DRS_FOGENABLE] && rs[D3DRS_FOGTABLEMODE] != D3DFOG_NONE;
        const StageProgram* program = _programs && !fog ? StageProgramOf(key) : nullptr;
        const GLuint id = program != nullptr ? program->id : 0;
        if (id != _usedProgram) {
            glUseProgram(id);
            _usedProgram = id;
        }
        if (program != nullptr && program->factor >= 0) {
            GLfloat factor[4];
            ColorOf(rs[D3DRS_TEXTUREFACTOR], factor);
            glUniform4fv(program->factor, 1, factor);
        }
    }

    const StageProgram* StageProgramOf(const DrawKey& key) {
        const DWORD colorOp = key.stage0[D3DTSS_COLOROP];
        const bool textured = key.texture != nullptr;
        // Clip-space w is the same at every vertex when the view and projection leave it so.
        D3DXMATRIX m;
        D3DXMatrixMultiply(&m, &key.view, &key.projection);
        const bool linear = m._14 == 0.0f && m._24 == 0.0f && m._34 == 0.0f;
        std::array<DWORD, 8> programKey = {textured, linear, 0, 0, 0, 0, 0, 0};
        if (textured) {
            programKey = {1,
                          linear,
                          colorOp,
                          key.stage0[D3DTSS_COLORARG1],
                          key.stage0[D3DTSS_COLORARG2],
                          key.stage0[D3DTSS_ALPHAOP],
                          key.stage0[D3DTSS_ALPHAARG1],
                          key.stage0[D3DTSS_ALPHAARG2]};
        }
        return StageProgramFor(programKey);
    }

    const StageProgram* StageProgramFor(const std::array<DWORD, 8>& key) {
        auto found = _stagePrograms.find(key);
        if (found == _stagePrograms.end()) {
            StageProgram program;
            program.id = BuildStageProgram(key[0] != 0, key[1] != 0, key[2], key[3], key[4], key[5], key[6], key[7]);
            if (program.id != 0) {
                glUseProgram(program.id);
                glUniform1i(glGetUniformLocation(program.id, "tex"), 0);
                program.factor = glGetUniformLocation(program.id, "factor");
                glUseProgram(_usedProgram);
            }
            found = _stagePrograms.emplace(key, program).first;
        }
        return found->second.id != 0 ? &found->second : nullptr;
    }

    // View times projection, kept until a state change.
    const D3DXMATRIX& ViewProjection() {
        if (!_viewProjectionValid) {
            D3DXMatrixMultiply(&_viewProjection, &View(), &Projection());
            _viewProjectionValid = true;
        }
        return _viewProjection;
    }

    void ApplyStage0(const DrawKey& key) {
        const DWORD* stage = key.stage0;
        const bool textured = key.texture != nullptr;
        GlPage* page = textured && key.textureGroup != key.texture ? static_cast<GlPage*>(const_cast<void*>(key.textureGroup))
                                                                   : nullptr;
        const GLuint id = page != nullptr ? page->id : textured ? static_cast<GlTexture*>(key.texture)->OwnId() : 0;
        bool stageChanged = !_applied.valid || textured != _applied.textured || id != _applied.texture ||
                            _context->deletions != _applied.deletions ||
                            key.renderStates[D3DRS_TEXTUREFACTOR] != _applied.renderStates[D3DRS_TEXTUREFACTOR];
        for (DWORD i = 0; i < D3DTSS_COUNT && !stageChanged; ++i) stageChanged = stage[i] != _applied.stage0[i];
        if (!stageChanged) return;
        if (!textured) {
            glDisable(GL_TEXTURE_2D);
        } else {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, id);
            const GLint filters[2] = {Filter(stage[D3DTSS_MINFILTER]), Filter(stage[D3DTSS_MAGFILTER])};
            const GLenum filterNames[2] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER};
            if (page != nullptr) {
                for (int i = 0; i < 2; ++i) {
                    if (page->applied[i] != filters[i]) {
                        glTexParameteri(GL_TEXTURE_2D, filterNames[i], filters[i]);
                        page->applied[i] = filters[i];
                    }
                }
            } else {
                GlTexture* gl = static_cast<GlTexture*>(key.texture);
                const GLint wanted[4] = {AddressMode(stage[D3DTSS_ADDRESSU]), AddressMode(stage[D3DTSS_ADDRESSV]),
                                         filters[0], filters[1]};
                const GLenum names[4] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, filterNames[0], filterNames[1]};
                for (int i = 0; i < 4; ++i) {
                    if (gl->applied[i] != wanted[i]) {
                        glTexParameteri(GL_TEXTURE_2D, names[i], wanted[i]);
                        gl->applied[i] = wanted[i];
                    }
                }
            }
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
            GLfloat factor[4];
            ColorOf(key.renderStates[D3DRS_TEXTUREFACTOR], factor);
            glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
            Combine(false, stage[D3DTSS_COLOROP], stage[D3DTSS_COLORARG1], stage[D3DTSS_COLORARG2]);
            Combine(true, stage[D3DTSS_ALPHAOP], stage[D3DTSS_ALPHAARG1], stage[D3DTSS_ALPHAARG2]);
        }
        std::memcpy(_applied.stage0, stage, sizeof(_applied.stage0));
        _applied.textured = textured;
        _applied.texture = id;
        _applied.deletions = _context->deletions;
    }

    static constexpr unsigned FRAMES_IN_FLIGHT = 2;
    // A larger queue is drawn first, so that one draw's vertex copy stays within a few MB.
    static constexpr size_t MAX_QUEUED_VERTICES = 1u << 18;
    static constexpr GLuint64 FENCE_TIMEOUT_NS = 1000000000ull;

    std::shared_ptr<GlContext> _context;
    int _swapInterval = 0;
    bool _hasSync = false;
    GLsync _fences[FRAMES_IN_FLIGHT] = {};
    unsigned _presents = 0;
    std::vector<QueuedVertex> _queue;
    std::vector<GLuint> _indices;
    // The whole depth buffer holds the far value 1.0 from a clear and nothing has written it since.
    bool _depthPristine = false;
    // A whole clear of the depth buffer to 1.0 not yet given to GL.
    bool _depthClearPending = false;
    // GL's depth write mask may differ from the applied states (after a clear).
    bool _depthMaskStale = true;
    Applied _applied;
    // Stage 0 programs by the stage's operations; GLSL 1.30 is there (else the fixed function).
    bool _programs = false;
    std::map<std::array<DWORD, 8>, StageProgram> _stagePrograms;
    GLuint _usedProgram = 0;
    D3DXMATRIX _viewProjection;
    bool _viewProjectionValid = false;
};

// ---------------------------------------------------------------------------------------------

class GlDirect3D : public IDirect3D8 {
public:
    GlDirect3D() {
        DriverLeakScope driver;
        _videoStarted = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
        if (!_videoStarted) std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        _desktop.Width = 1024;
        _desktop.Height = 768;
        _desktop.Format = D3DFMT_X8R8G8B8;
        SDL_DisplayMode mode;
        if (_videoStarted && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
            _desktop.Width = static_cast<UINT>(mode.w);
            _desktop.Height = static_cast<UINT>(mode.h);
            _desktop.RefreshRate = static_cast<UINT>(std::max(mode.refresh_rate, 0));
            const D3DFORMAT format = FormatOf(mode.format);
            if (format != D3DFMT_UNKNOWN) _desktop.Format = format;
        }
        const int count = _videoStarted ? SDL_GetNumDisplayModes(0) : 0;
        for (int i = 0; i < count; ++i) {
            if (SDL_GetDisplayMode(0, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0) continue;
            D3DDISPLAYMODE m;
            m.Width = static_cast<UINT>(mode.w);
            m.Height = static_cast<UINT>(mode.h);
            m.RefreshRate = static_cast<UINT>(std::max(mode.refresh_rate, 0));
            m.Format = FormatOf(mode.format);
            _modes.push_back(m);
        }
        // Displays that list no usable mode (the offscreen driver) offer their desktop mode.
        if (_modes.empty()) _modes.push_back(_desktop);
    }

    ULONG AddRef() override { return static_cast<ULONG>(++_references); }
    ULONG Release() override {
        const int left = --_references;
        if (left == 0) delete this;
        return static_cast<ULONG>(left < 0 ? 0 : left);
    }

    UINT GetAdapterModeCount(UINT adapter) override {
        return adapter == D3DADAPTER_DEFAULT ? static_cast<UINT>(_modes.size()) : 0;
    }

    HRESULT EnumAdapterModes(UINT adapter, UINT index, D3DDISPLAYMODE* mode) override {
        if (adapter != D3DADAPTER_DEFAULT || mode == nullptr || index >= _modes.size()) return D3DERR_INVALIDCALL;
        *mode = _modes[index];
        return D3D_OK;
    }

    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override {
        if (adapter != D3DADAPTER_DEFAULT || mode == nullptr) return D3DERR_INVALIDCALL;
        *mode = _desktop;
        return _videoStarted ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window, DWORD flags, D3DPRESENT_PARAMETERS* parameters,
                         IDirect3DDevice8** device) override {
        (void)type;
        (void)flags;
        if (device == nullptr) return D3DERR_INVALIDCALL;
        *device = nullptr;
        if (adapter != D3DADAPTER_DEFAULT || parameters == nullptr) return D3DERR_INVALIDCALL;
        if (window == nullptr) window = parameters->hDeviceWindow;
        if (window == nullptr || !_videoStarted) return D3DERR_INVALIDCALL;
        if (!parameters->Windowed) {
            SDL_DisplayMode mode;
            if (SDL_GetWindowDisplayMode(window, &mode) == 0) {
                mode.w = static_cast<int>(parameters->BackBufferWidth);
                mode.h = static_cast<int>(parameters->BackBufferHeight);
                SDL_SetWindowDisplayMode(window, &mode);
            }
            if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) return D3DERR_NOTAVAILABLE;
        }
        auto context = std::make_shared<GlContext>();
        context->window = window;
        DriverLeakScope driver;
        context->context = SDL_GL_CreateContext(window);
        if (context->context == nullptr) {
            std::fprintf(stderr, "SDL GL context: %s\n", SDL_GetError());
            return D3DERR_NOTAVAILABLE;
        }
        context->alive = true;
        currentContext = context.get();
        D3DCAPS8 caps;
        GLint value = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &value);
        caps.MaxTextureWidth = caps.MaxTextureHeight = static_cast<DWORD>(std::max(value, 0));
        glGetIntegerv(GL_MAX_CLIP_PLANES, &value);
        caps.MaxUserClipPlanes = std::min<DWORD>(static_cast<DWORD>(std::max(value, 0)), MAX_USER_CLIP_PLANES);
        caps.MaxTextureBlendStages = 1;
        caps.MaxSimultaneousTextures = 1;
        // OpenGL 2.0 and later take textures of any size.
        caps.TextureCaps = 0;
        D3DPRESENT_PARAMETERS p = *parameters;
        int w = 0;
        int h = 0;
        SDL_GL_GetDrawableSize(window, &w, &h);
        if (p.BackBufferWidth == 0) p.BackBufferWidth = static_cast<UINT>(std::max(w, 0));
        if (p.BackBufferHeight == 0) p.BackBufferHeight = static_cast<UINT>(std::max(h, 0));
        p.hDeviceWindow = window;
        GlDevice* created = new GlDevice(context, p, caps);
        *device = created;
        return D3D_OK;
    }

private:
    ~GlDirect3D() override {
        DriverLeakScope driver;
        if (_videoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    int _references = 1;
    bool _videoStarted = false;
    D3DDISPLAYMODE _desktop;
    std::vector<D3DDISPLAYMODE> _modes;
};

}  // namespace
}  // namespace render_layer

IDirect3D8* Direct3DCreate8(UINT sdkVersion) {
    if (sdkVersion != D3D_SDK_VERSION) return nullptr;
    return new render_layer::GlDirect3D();
}

HWND CreateDeviceWindow(const char* title, int width, int height, bool fullScreen, bool hidden) {
    render_layer::DriverLeakScope driver;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "SDL video: %s\n", SDL_GetError());
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    Uint32 flags = SDL_WINDOW_OPENGL;
    if (fullScreen) flags |= SDL_WINDOW_FULLSCREEN;
    if (hidden) flags |= SDL_WINDOW_HIDDEN;
    SDL_Window* window =
        SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (window == nullptr) {
        std::fprintf(stderr, "SDL window: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    return window;
}
