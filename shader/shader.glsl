#version 430 compatibility
// The picture of the intro: one fragment shader drawn three times per frame over 640 x 420.
//   uU.y == 0  scene pass: ray-marches the city, writes tone-mapped colour and depth / 40
//   uU.y == 1  blur pass:  softens a horizontal band through the middle of the scene pass
//   otherwise  grade pass: fringing, fades, grain, tone curve, vignette, gamma
// The host copies the framebuffer into `tex` after passes 0 and 1. The only clock is uU.x, the
// audio play position in sample frames, so the picture follows the music, also after a seek.
// The compatibility profile is declared because the shader writes gl_FragColor.

layout(location = 0) uniform sampler2D tex;
layout(location = 1) uniform ivec2 uU;

const vec2 resolution = vec2(640.0, 420.0);
const float max_dist = 40.0;
// Deliberately not pi: it sets the palette's frequency and packs the material codes.
const float half_turn = 3.1459265359;
const float cell_margin = 0.05;

// Shot timeline. Only the first three rows are scanned; the rest are kept as authored.
const int timeline_rows_scanned = 3;
const int timeline_scene[10] = int[10](1, 1, 1, 1, 1, 1, 1, 1, 7, 1);
const int timeline_shot[10] = int[10](17, 14, 12, 13, 11, 15, 10, 13, 80, 16);
const float timeline_start[10] =
    float[10](1.0, 10.0, 15.0, 25.0, 27.0, 30.0, 35.0, 40.0, 55.0, 60.0);

// Computed first by every pass.
// (Initialised here only so that compilers do not warn; main sets them before any use.)
float time_s = 0.0;
vec2 centred = vec2(0.0);
vec2 uv = vec2(0.0);
int scene_id = -1;
int shot_id = -1;
float seed = 0.0;

// time_s plus this pixel's jitter; every animation of the scene pass runs on it.
float scene_time = 0.0;

struct FieldSample {
    float distance;
    float material; // palette index + k * half_turn; -1 for nothing
    float roughness;
};

// ---------------------------------------------------------------- hashes, noise, colour

float hash_sin(float v) { return fract(sin(v) * 43758.5453); }

float hash_poly(float v) {
    float h = fract(v * 0.1031);
    h *= h + 33.33;
    h *= h + h;
    return fract(h);
}

vec2 hash_cell2(float a, float b) {
    float s = a + 37.0 * b;
    return vec2(fract(cos(s) * 10003.579), fract(cos(s) * 37049.7));
}

float value_noise(vec3 p) {
    vec3 g = floor(p);
    vec3 f = p - g;
    float n = 7.0 * g.x + 157.0 * g.y + 113.0 * g.z;
    vec3 w = f * f * (3.0 - 2.0 * f);
    float y0z0 = mix(hash_sin(n), hash_sin(n + 7.0), w.x);
    float y1z0 = mix(hash_sin(n + 157.0), hash_sin(n + 164.0), w.x);
    float y0z1 = mix(hash_sin(n + 113.0), hash_sin(n + 120.0), w.x);
    float y1z1 = mix(hash_sin(n + 270.0), hash_sin(n + 277.0), w.x);
    return mix(mix(y0z0, y1z0, w.y), mix(y0z1, y1z1, w.y), w.z);
}

float fbm(vec3 p) {
    float fine = value_noise(8.04 * p);
    return 0.5 * value_noise(2.01 * p) + 0.25 * value_noise(4.02 * p) +
           0.0025 * value_noise(101.3 * p) + 0.15 * fine * fine * fine;
}

vec3 random_dir(float s) {
    float s1 = s + 0.57;
    float s2 = s1 + 0.57;
    float s3 = s2 + 0.57;
    return vec3(hash_poly(s1), hash_poly(s2), hash_poly(s3)) * 2.0 - 1.0;
}

vec3 palette(float x) { return 0.5 + 0.5 * cos(half_turn * (x + vec3(0.0, 0.1, 0.2))); }

// ---------------------------------------------------------------- distance primitives

float box_dist(vec3 p, vec3 b) { return length(max(abs(p) - b, 0.0)); }

void repeat_cell(vec3 p, vec3 size, out vec3 index, out vec3 local_point) {
    index = floor((p + size / 2.0) / size);
    local_point = mod(p + size / 2.0, size) - size / 2.0;
}

float fold_fractal(vec3 p) {
    const float scale = 2.46;
    const vec3 offset = vec3(0.785, 1.1, 0.46);
    vec3 q = p;
    float w = 1.0;
    for (int i = 0; i < 4; i++) {
        q = abs(q);
        if (q.x < q.y) {
            q.xy = q.yx;
        }
        if (q.y < q.z) {
            q.yz = q.zy;
        }
        q *= scale;
        w *= scale;
        q -= offset * (scale - 1.0);
        if (q.z < -0.5 * offset.z * (scale - 1.0)) {
            q.z += offset.z * (scale - 1.0);
        }
    }
    return (box_dist(q, vec3(1.0)) - 0.05) / w;
}

// On a tie the second argument wins.
FieldSample closer(FieldSample a, FieldSample b) { return a.distance < b.distance ? a : b; }

// ---------------------------------------------------------------- the city

float window_mask(vec3 v) {
    return value_noise(floor(vec3(25.0 * v.x, 150.0 * v.y, 10.0 * v.z))) *
           value_noise(floor(vec3(10.0 * v.x, 8.0 * v.y, 13.0 * v.z)));
}

// v: x and z within the cell in [0, 1), y the world height; cell: the cell's integer x and z.
float city_cell(vec3 v, vec2 cell) {
    vec2 a01 = hash_cell2(cell.x, cell.y);
    vec2 a23 = hash_cell2(a01.x, a01.y);
    vec2 m01 = hash_cell2(a23.x, a23.y);
    float a0 = a01.x, a1 = a01.y, a2 = a23.x, a3 = a23.y;

    float hw = 0.2 + 0.1 * a0;
    vec3 d = v - vec3(0.5, 0.0, 0.5);
    d.x += 0.1 * (a2 - a1);
    d.z += 0.1 * (a3 - a0);
    float h = a2 * a3 + 2.0 * a0 + 0.5;

    float block = box_dist(d, vec3(0.9 * hw, h, 0.8 * hw)) - 0.01 * value_noise(floor(100.0 * d));

    float t = floor(20.0 * max(0.0, 2.0 * a1 - 1.0)) * 0.05;
    float m0q = floor(20.0 * m01.x) * 0.05;
    float m1q = floor(20.0 * m01.y) * 0.05;
    vec3 e0 = d - vec3(0.0, h, 0.0);
    float cap1 = box_dist(e0, vec3(hw, t - m1q, hw));
    float cap2 = box_dist(e0, vec3(0.8 * hw, t - m0q, hw));

    float result = min(min(v.y, block), min(cap1, cap2));
    if (m1q > 0.25) {
        result = min(result, box_dist(e0, vec3(0.8 * hw, t, 0.8 * hw)));
    }

    float e = fold_fractal(vec3(1.5 * v.x, 0.025 * h * (v.y - 1.0), v.z));
    float detail = max(block - 0.2, e);
    return min(result, detail);
}

FieldSample scene_field(vec3 p) {
    FieldSample result = FieldSample(max_dist, -1.0, 0.9);
    if (scene_id == 1) {
        vec3 v = vec3(fract(p.x), p.y, fract(p.z));
        vec2 cell = vec2(floor(p.x), floor(p.z));
        float lit = window_mask(v) >= 0.85 ? 1.0 : 0.0;
        result = closer(result, FieldSample(city_cell(v, cell), 3.1 + 100.0 * half_turn * lit, 0.9));

        vec3 index, q;
        repeat_cell(p, vec3(10.0), index, q);
        result = closer(result, FieldSample(length(q) - 0.01, 1.0 + 10.0 * half_turn, 0.9));
    }
    return result;
}

// ---------------------------------------------------------------- scene pass

vec3 sky_color(vec3 d) {
    float t = scene_time;
    float cloud = fbm(vec3(8.0 * d.x + 0.1 * t, 0.1 * t, 2.0 * d.z + 0.1 * t));
    return 0.1 * palette(1.7 + pow(cloud, 0.1));
}

// Ray distance to the next cell wall across one axis, from the fractional position along it.
float wall_ahead(float position, float direction) {
    return direction > 0.0 ? fract(-position) / direction : -fract(position) / direction;
}

// Caps a march step so that it ends at most cell_margin past the nearest x or z wall ahead.
// An axis the ray runs parallel to has no wall ahead; the other axis then decides alone.
float cell_limit(vec3 p, vec3 dir) {
    float nearest = max_dist;
    if (dir.x != 0.0 && dir.z != 0.0) {
        nearest = min(fract(wall_ahead(p.x, dir.x)), fract(wall_ahead(p.z, dir.z)));
    } else if (dir.x != 0.0) {
        nearest = fract(wall_ahead(p.x, dir.x));
    } else if (dir.z != 0.0) {
        nearest = fract(wall_ahead(p.z, dir.z));
    }
    return max(nearest + cell_margin, cell_margin);
}

void render_scene(out vec3 colour, out float depth) {
    float t = time_s + hash_sin(seed) / 60.0;
    scene_time = t;

    vec3 eye;
    vec3 target;
    float lens;
    if (shot_id == 17) {
        eye = vec3(1.4, 0.6 + 0.03 * t, 0.0);
        target = eye + vec3(0.0, 1.0, 2.0);
        lens = 2.0;
    } else if (shot_id == 14) {
        eye = vec3(0.0, 5.0, 0.1 * t);
        target = eye + vec3(0.0, -1.0, 1.0);
        lens = 6.0;
    } else if (shot_id == 12) {
        eye = vec3(0.0, 1.5, 2.1 + 0.1 * t);
        target = eye + vec3(1.0, 0.2, 2.0);
        lens = 6.0;
    } else {
        // Before the first shot the camera is undefined: black, as far away as a miss.
        colour = vec3(0.0);
        depth = max_dist;
        return;
    }

    vec3 back = normalize(eye - target);
    vec3 right = normalize(cross(back, vec3(0.0, 1.0, 0.0)));
    vec3 cam_up = normalize(cross(right, back));
    vec3 dir = normalize(centred.x * right + centred.y * cam_up - lens * back);

    float dist = 0.05;
    float material = -1.0;
    float roughness = 0.9;
    vec3 p = eye;
    for (int i = 0; i < 128; i++) {
        p = eye + dir * dist;
        FieldSample s = scene_field(p);
        if (scene_id == 1) {
            s.distance = min(s.distance, cell_limit(p, dir));
        }
        if (dist > max_dist || s.distance < 0.0005 * dist) {
            break;
        }
        dist += s.distance;
        material = s.material;
        roughness = s.roughness;
    }
    if (dist > max_dist) {
        material = -1.0;
    }
    depth = dist;

    vec3 c;
    if (material > -1.0) {
        vec3 base = palette(mod(material, half_turn));
        // Differences against the ray length, not against the field at p.
        vec3 n = normalize(vec3(dist - scene_field(p - vec3(0.0001, 0.0, 0.0)).distance,
                                dist - scene_field(p - vec3(0.0, 0.0001, 0.0)).distance,
                                dist - scene_field(p - vec3(0.0, 0.0, 0.0001)).distance));
        vec3 r = dir - 2.0 * dot(n, dir) * n;
        float facing = dot(n, dir) + 1.0;
        float w = facing * facing;
        float emission = 1.0 + (material / half_turn) * (1.0 + 0.5 * value_noise(0.1 * p + 0.2 * t));
        c = (1.0 - w) * emission * base;
        float mist_weight = clamp(2.0 - p.y, 0.0, 1.0);
        c += mist_weight * mist_weight * 2.0 * fbm(p + vec3(0.1 * t, -0.4 * t, 0.0));
        if (scene_id == 1 && shot_id > 10 && shot_id < 15) {
            c *= 1.01;
        }
        dir = normalize(r + roughness * normalize(random_dir(seed)));
    } else {
        c = sky_color(dir);
    }

    float g = exp(-0.12 * depth * depth);
    colour = 10.0 * sky_color(dir) * (1.0 - g) + 0.1 * c * g;
}

void scene_pass() {
    vec3 c;
    float depth;
    render_scene(c, depth);
    gl_FragColor = vec4(clamp(c / (c + 1.0), 0.0, 1.0), depth / max_dist);
}

// ---------------------------------------------------------------- blur pass

void blur_pass() {
    // Taps stay inside rows 153-265; columns beyond the picture are clamped to its edge.
    float radius = max(1.5, abs(uv.y - 0.5) * 20.0);
    ivec2 pixel = ivec2(gl_FragCoord.xy);
    vec4 sum = texture(tex, uv);
    float count = 1.0;
    for (int dy = -8; dy <= 8; dy++) {
        for (int dx = -8; dx <= 8; dx++) {
            if (float(dx * dx + dy * dy) < radius * radius && gl_FragCoord.y + float(dy) > 153.0 &&
                gl_FragCoord.y + float(dy) < 266.0) {
                ivec2 tap = ivec2(clamp(pixel.x + dx, 0, int(resolution.x) - 1), pixel.y + dy);
                sum += texelFetch(tex, tap, 0);
                count += 1.0;
            }
        }
    }
    gl_FragColor = sum / count;
}

// ---------------------------------------------------------------- grade pass

void grade_pass() {
    // Per-channel scaling about the texture origin gives the colour fringes.
    vec3 scale = vec3(1.0);
    vec3 sum = vec3(0.0);
    for (int i = 0; i < 16; i++) {
        sum.r += texture(tex, clamp(uv * scale.r, 0.0, 1.0)).r;
        sum.g += texture(tex, clamp(uv * scale.g, 0.0, 1.0)).g;
        sum.b += texture(tex, clamp(uv * scale.b, 0.0, 1.0)).b;
        scale *= vec3(0.9997, 0.99998, 1.0 / 0.9997);
    }
    vec3 c = sum / 16.0;

    c *= smoothstep(0.0, 1.0, (time_s - 0.5) / 4.5);
    c *= smoothstep(0.0, 1.0, (time_s - 67.5) / -0.5);

    // Grain goes in after the fades, so black frames still show it.
    vec3 g = smoothstep(0.0, 1.0, (c + 0.05 * hash_poly(seed) + 0.02) / 0.82);
    float v = pow(16.0 * uv.x * (uv.y - 0.135) * (1.0 - uv.x) * (1.0 - (uv.y + 0.135)), 0.4);
    gl_FragColor = vec4(pow(g * v, vec3(0.4545)), 1.0);
}

// ---------------------------------------------------------------- common prologue

// Remainder with the sign of the dividend (as C's %), since GLSL leaves negative operands open.
int remainder_truncated(int x, int m) {
    uint magnitude = x < 0 ? uint(-(x + 1)) + 1u : uint(x);
    int r = int(magnitude % uint(m));
    return x < 0 ? -r : r;
}

// Sets the values every pass starts from. False for the letterbox rows, which stay black.
bool prologue() {
    time_s = float(uU.x) / 44100.0;
    centred = (2.0 * gl_FragCoord.xy - resolution) / resolution.y;
    uv = gl_FragCoord.xy / resolution;

    if (abs(centred.y) > 0.73) {
        return false;
    }

    scene_id = -1;
    shot_id = -1;
    for (int row = 0; row < timeline_rows_scanned; row++) {
        if (time_s >= timeline_start[row]) {
            scene_id = timeline_scene[row];
            shot_id = timeline_shot[row];
        }
    }

    ivec2 pixel = ivec2(gl_FragCoord.xy);
    int a = pixel.x * 19349663; // wraps on overflow
    int b = pixel.y * 83492791;
    int k = remainder_truncated(a ^ b, 38069);
    seed = fract(sin(float(k)) * 43758.5 + time_s);
    return true;
}

void main() {
    gl_FragColor = vec4(0.0);
    if (!prologue()) {
        return;
    }
    if (uU.y == 0) {
        scene_pass();
    } else if (uU.y == 1) {
        blur_pass();
    } else {
        grade_pass();
    }
}
