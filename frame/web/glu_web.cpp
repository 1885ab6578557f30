// glu_web: Emscripten declares gluBuild2DMipmaps but has no GLU to implement it. The web build
// uploads the base level as it is and lets the GL make the smaller levels; WebGL 2 takes any
// size, so nothing is rescaled to powers of two as GLU would.
#include <GL/gl.h>
#include <GL/glu.h>
#include <GLES3/gl3.h>

extern "C" GLint gluBuild2DMipmaps(GLenum target, GLint internalFormat, GLsizei width,
                                   GLsizei height, GLenum format, GLenum type, const void *data)
{
    glTexImage2D(target, 0, internalFormat, width, height, 0, format, type, data);
    glGenerateMipmap(target);
    return 0;
}
