// The kept picture of the trajectories: a framebuffer object with a colour and a depth texture,
// and a shader that lays it over the scene writing its depth, so the depth test treats its
// pixels as it treats lines drawn in place.
#include "gui/gl/trajectory_picture.h"

#include <GL/gl.h>
#include <GL/glext.h>
#include <gtk/gtkgl.h>

namespace {

struct GlCalls {
    PFNGLGENFRAMEBUFFERSPROC gen_framebuffers;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer;
    PFNGLFRAMEBUFFERTEXTURE2DPROC framebuffer_texture;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check_framebuffer;
    PFNGLCREATESHADERPROC create_shader;
    PFNGLSHADERSOURCEPROC shader_source;
    PFNGLCOMPILESHADERPROC compile_shader;
    PFNGLGETSHADERIVPROC get_shader;
    PFNGLCREATEPROGRAMPROC create_program;
    PFNGLATTACHSHADERPROC attach_shader;
    PFNGLLINKPROGRAMPROC link_program;
    PFNGLGETPROGRAMIVPROC get_program;
    PFNGLUSEPROGRAMPROC use_program;
    PFNGLGETUNIFORMLOCATIONPROC uniform_location;
    PFNGLUNIFORM1IPROC uniform1i;
    PFNGLUNIFORM2FPROC uniform2f;
    PFNGLACTIVETEXTUREPROC active_texture;
    bool complete = false;
};

template <class F>
void load(F& f, const char* name) {
    f = reinterpret_cast<F>(gdk_gl_get_proc_address(name));
}

const GlCalls& gl() {
    static const GlCalls calls = [] {
        GlCalls c{};
        load(c.gen_framebuffers, "glGenFramebuffers");
        load(c.bind_framebuffer, "glBindFramebuffer");
        load(c.framebuffer_texture, "glFramebufferTexture2D");
        load(c.check_framebuffer, "glCheckFramebufferStatus");
        load(c.create_shader, "glCreateShader");
        load(c.shader_source, "glShaderSource");
        load(c.compile_shader, "glCompileShader");
        load(c.get_shader, "glGetShaderiv");
        load(c.create_program, "glCreateProgram");
        load(c.attach_shader, "glAttachShader");
        load(c.link_program, "glLinkProgram");
        load(c.get_program, "glGetProgramiv");
        load(c.use_program, "glUseProgram");
        load(c.uniform_location, "glGetUniformLocation");
        load(c.uniform1i, "glUniform1i");
        load(c.uniform2f, "glUniform2f");
        load(c.active_texture, "glActiveTexture");
        c.complete = c.gen_framebuffers && c.bind_framebuffer && c.framebuffer_texture && c.check_framebuffer &&
                     c.create_shader && c.shader_source && c.compile_shader && c.get_shader && c.create_program &&
                     c.attach_shader && c.link_program && c.get_program && c.use_program && c.uniform_location &&
                     c.uniform1i && c.uniform2f && c.active_texture;
        return c;
    }();
    return calls;
}

const char* const VERTEX_SHADER = "void main() { gl_Position = gl_Vertex; }\n";
const char* const FRAGMENT_SHADER =
    "uniform sampler2D colour;\n"
    "uniform sampler2D depth;\n"
    "uniform vec2 size;\n"
    "void main() {\n"
    "    vec2 at = gl_FragCoord.xy / size;\n"
    "    vec4 c = texture2D(colour, at);\n"
    "    if (c.a == 0.0) discard;\n"
    "    gl_FragColor = c;\n"
    "    gl_FragDepth = texture2D(depth, at).r;\n"
    "}\n";

struct Picture {
    GLuint framebuffer = 0, colour = 0, depth = 0, program = 0;
    int width = 0, height = 0;
    std::vector<double> key;
    bool failed = false;
} picture;

GLuint compile(GLenum kind, const char* source) {
    const GLuint shader = gl().create_shader(kind);
    gl().shader_source(shader, 1, &source, nullptr);
    gl().compile_shader(shader);
    GLint done = 0;
    gl().get_shader(shader, GL_COMPILE_STATUS, &done);
    return done ? shader : 0;
}

bool make_program() {
    const GLuint vertex = compile(GL_VERTEX_SHADER, VERTEX_SHADER);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, FRAGMENT_SHADER);
    if (!vertex || !fragment) return false;
    picture.program = gl().create_program();
    gl().attach_shader(picture.program, vertex);
    gl().attach_shader(picture.program, fragment);
    gl().link_program(picture.program);
    GLint linked = 0;
    gl().get_program(picture.program, GL_LINK_STATUS, &linked);
    return linked != 0;
}

void size_texture(GLuint texture, GLint format, GLenum data_format, GLenum type, int width, int height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, data_format, type, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
}

// The framebuffer at the view's size, made on first use and when the view changes size.
bool ready(int width, int height) {
    if (picture.failed || !gl().complete) return false;
    if (picture.framebuffer && picture.width == width && picture.height == height) return true;
    if (!picture.framebuffer) {
        if (!make_program()) {
            picture.failed = true;
            return false;
        }
        gl().gen_framebuffers(1, &picture.framebuffer);
        glGenTextures(1, &picture.colour);
        glGenTextures(1, &picture.depth);
    }
    size_texture(picture.colour, GL_RGBA8, GL_RGBA, GL_UNSIGNED_BYTE, width, height);
    size_texture(picture.depth, GL_DEPTH_COMPONENT24, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, width, height);
    gl().bind_framebuffer(GL_FRAMEBUFFER, picture.framebuffer);
    gl().framebuffer_texture(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, picture.colour, 0);
    gl().framebuffer_texture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, picture.depth, 0);
    const bool complete = gl().check_framebuffer(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    gl().bind_framebuffer(GL_FRAMEBUFFER, 0);
    picture.width = width;
    picture.height = height;
    picture.key.clear();
    picture.failed = !complete;
    return complete;
}

void redraw(void (*draw)(void*), void* context) {
    gl().bind_framebuffer(GL_FRAMEBUFFER, picture.framebuffer);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0, 0, 0, 0);
    glClearDepth(1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPopAttrib();
    draw(context);
    gl().bind_framebuffer(GL_FRAMEBUFFER, 0);
}

void lay_over_scene() {
    glPushAttrib(GL_ENABLE_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_TRUE);
    gl().use_program(picture.program);
    gl().uniform1i(gl().uniform_location(picture.program, "colour"), 0);
    gl().uniform1i(gl().uniform_location(picture.program, "depth"), 1);
    gl().uniform2f(gl().uniform_location(picture.program, "size"), static_cast<float>(picture.width),
                   static_cast<float>(picture.height));
    gl().active_texture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, picture.depth);
    gl().active_texture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, picture.colour);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    gl().use_program(0);
    gl().active_texture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    gl().active_texture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopAttrib();
}

}  // namespace

bool trajectory_picture_available() { return gl().complete && !picture.failed; }

bool draw_through_trajectory_picture(const std::vector<double>& key, int width, int height, void (*draw)(void*),
                                     void* context) {
    if (width <= 0 || height <= 0 || !ready(width, height)) return false;
    if (picture.key != key) {
        redraw(draw, context);
        picture.key = key;
    }
    lay_over_scene();
    return true;
}
