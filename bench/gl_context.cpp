#include "gl_context.h"

#include <GL/glx.h>

namespace {
Display* x11Display = nullptr;
GLXDrawable drawable = 0;
GLXContext context = nullptr;
}  // namespace

void releaseGlContext() {
    x11Display = glXGetCurrentDisplay();
    drawable = glXGetCurrentDrawable();
    context = glXGetCurrentContext();
    glXMakeCurrent(x11Display, None, nullptr);
}

void restoreGlContext() {
    glXMakeCurrent(x11Display, drawable, context);
}
