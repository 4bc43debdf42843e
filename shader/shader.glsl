#version 430 compatibility
// Stand-in picture until the real shader arrives: it honours the same contract (the pass
// texture at location 0, uU at location 1: play position in frames, pass index).
layout(location = 0) uniform sampler2D tex;
layout(location = 1) uniform ivec2 uU;

void main() {
    vec2 uv = gl_FragCoord.xy / vec2(640.0, 420.0);
    float time_s = float(uU.x) / 44100.0;
    if (uU.y == 0) {
        gl_FragColor = vec4(uv, 0.5 + 0.5 * sin(time_s), 1.0);
    } else if (uU.y == 1) {
        gl_FragColor = texture(tex, uv).bgra;
    } else {
        gl_FragColor = texture(tex, uv).bgra;
    }
}
