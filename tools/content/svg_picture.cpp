#include "svg_picture.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFarthestCoordinate = 100000;

// ---- numbers and tokens ----

struct Scanner {
    const char* cursor;
    const char* end;

    void skipSeparators() {
        while (cursor < end &&
               (std::isspace(static_cast<unsigned char>(*cursor)) || *cursor == ','))
            ++cursor;
    }
    bool atEnd() {
        skipSeparators();
        return cursor >= end;
    }
    bool nextIsNumber() {
        skipSeparators();
        return cursor < end && (std::isdigit(static_cast<unsigned char>(*cursor)) ||
                                *cursor == '-' || *cursor == '+' || *cursor == '.');
    }
    // An SVG number; "1.5.5" is two numbers and "1-2" too.
    bool number(double& out) {
        skipSeparators();
        const char* start = cursor;
        const char* p = cursor;
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        bool digits = false;
        while (p < end && std::isdigit(static_cast<unsigned char>(*p)))
            ++p, digits = true;
        if (p < end && *p == '.') {
            ++p;
            while (p < end && std::isdigit(static_cast<unsigned char>(*p)))
                ++p, digits = true;
        }
        if (!digits)
            return false;
        if (p < end && (*p == 'e' || *p == 'E')) {
            const char* q = p + 1;
            if (q < end && (*q == '-' || *q == '+'))
                ++q;
            if (q < end && std::isdigit(static_cast<unsigned char>(*q))) {
                while (q < end && std::isdigit(static_cast<unsigned char>(*q)))
                    ++q;
                p = q;
            }
        }
        std::string text(start, p);
        out = std::strtod(text.c_str(), nullptr);
        cursor = p;
        return std::isfinite(out);
    }
};

// ---- flattening ----

double length(Point p) {
    return std::sqrt(p.x * p.x + p.y * p.y);
}

void appendPoint(Ring& ring, Point p) {
    if (!ring.empty() && ring.back().x == p.x && ring.back().y == p.y)
        return;
    ring.push_back(p);
}

// Uniform steps, enough that the chord error stays under kFlatness: the error
// of n steps is at most max|B''| / (8 n^2).
void flattenCubic(Ring& ring, Point p0, Point p1, Point p2, Point p3) {
    Point dd1{p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y};
    Point dd2{p1.x - 2 * p2.x + p3.x, p1.y - 2 * p2.y + p3.y};
    double bend = 6 * std::max(length(dd1), length(dd2));
    int steps = std::clamp(int(std::ceil(std::sqrt(bend / (8 * kFlatness)))), 1, 1000);
    for (int i = 1; i <= steps; ++i) {
        double t = double(i) / steps, s = 1 - t;
        double w0 = s * s * s, w1 = 3 * s * s * t, w2 = 3 * s * t * t, w3 = t * t * t;
        appendPoint(ring, {w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
                           w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y});
    }
}

void flattenQuadratic(Ring& ring, Point p0, Point p1, Point p2) {
    Point dd{p0.x - 2 * p1.x + p2.x, p0.y - 2 * p1.y + p2.y};
    double bend = 2 * length(dd);
    int steps = std::clamp(int(std::ceil(std::sqrt(bend / (8 * kFlatness)))), 1, 1000);
    for (int i = 1; i <= steps; ++i) {
        double t = double(i) / steps, s = 1 - t;
        appendPoint(ring, {s * s * p0.x + 2 * s * t * p1.x + t * t * p2.x,
                           s * s * p0.y + 2 * s * t * p1.y + t * t * p2.y});
    }
}

// An ellipse as four cubic quarters, transformed before flattening so that a
// scaled ellipse stays as smooth as any other curve.
Ring ellipseRing(double cx, double cy, double rx, double ry, const Affine& transform) {
    const double k = 0.5522847498307936;  // control distance of a quarter circle
    Ring ring;
    Point start = transform.apply({cx + rx, cy});
    ring.push_back(start);
    for (int quarter = 0; quarter < 4; ++quarter) {
        double a0 = quarter * kPi / 2, a1 = a0 + kPi / 2;
        Point q0{cx + rx * std::cos(a0), cy + ry * std::sin(a0)};
        Point q3{cx + rx * std::cos(a1), cy + ry * std::sin(a1)};
        Point q1{q0.x - k * rx * std::sin(a0), q0.y + k * ry * std::cos(a0)};
        Point q2{q3.x + k * rx * std::sin(a1), q3.y - k * ry * std::cos(a1)};
        flattenCubic(ring, transform.apply(q0), transform.apply(q1), transform.apply(q2),
                     transform.apply(q3));
    }
    if (ring.size() > 1 && std::abs(ring.back().x - start.x) < 1e-9 &&
        std::abs(ring.back().y - start.y) < 1e-9)
        ring.pop_back();
    return ring;
}

void closeRing(std::vector<Ring>& rings, Ring& ring) {
    if (ring.size() > 1 && ring.front().x == ring.back().x && ring.front().y == ring.back().y)
        ring.pop_back();
    if (ring.size() >= 3)
        rings.push_back(ring);
    ring.clear();
}

// ---- XML ----

std::string attribute(xmlNode* node, const char* name) {
    xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr)
        return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

bool hasAttribute(xmlNode* node, const char* name) {
    return xmlHasProp(node, reinterpret_cast<const xmlChar*>(name)) != nullptr;
}

std::string nodeName(xmlNode* node) {
    return reinterpret_cast<const char*>(node->name);
}

bool isSvgElement(xmlNode* node) {
    return node->type == XML_ELEMENT_NODE &&
           (node->ns == nullptr || std::strcmp(reinterpret_cast<const char*>(node->ns->href),
                                               "http://www.w3.org/2000/svg") == 0);
}

std::string describe(xmlNode* node) {
    std::string text = "<" + nodeName(node) + ">";
    std::string id = attribute(node, "id");
    if (!id.empty())
        text += " id=" + id;
    text += ", line " + std::to_string(xmlGetLineNo(node));
    return text;
}

// Attributes that would change how a shape looks beyond its plain fill.
bool changesLook(xmlNode* node, std::string& which) {
    static const char* const kForbidden[] = {"style",     "opacity",    "fill-opacity",
                                             "clip-path", "mask",       "filter",
                                             "display",   "visibility", "stroke-width"};
    for (const char* name : kForbidden) {
        if (hasAttribute(node, name)) {
            which = name;
            return true;
        }
    }
    std::string stroke = attribute(node, "stroke");
    if (!stroke.empty() && stroke != "none") {
        which = "stroke";
        return true;
    }
    return false;
}

bool parseFill(const std::string& text, uint32_t& out) {
    if (text.size() == 7 && text[0] == '#' && std::all_of(text.begin() + 1, text.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c));
        })) {
        out = uint32_t(std::strtoul(text.c_str() + 1, nullptr, 16));
        return true;
    }
    return false;
}

bool number(const std::string& text, double& out) {
    Scanner scanner{text.data(), text.data() + text.size()};
    return scanner.number(out) && scanner.atEnd();
}

struct Reader {
    std::string name;
    std::string error;
    SvgPicture* picture = nullptr;

    bool fail(xmlNode* node, const std::string& what) {
        error = name + ": " + describe(node) + ": " + what;
        return false;
    }

    bool readLength(xmlNode* node, const char* attributeName, double& out, bool required) {
        std::string text = attribute(node, attributeName);
        if (text.empty()) {
            out = 0;
            if (!required)
                return true;
            return fail(node, std::string("needs the attribute ") + attributeName);
        }
        if (!number(text, out))
            return fail(node, std::string("cannot read ") + attributeName);
        return true;
    }

    bool shapeRings(xmlNode* node, const Affine& transform, std::vector<Ring>& rings) {
        std::string kind = nodeName(node);
        if (kind == "path") {
            std::string pathError;
            if (!flattenPathData(attribute(node, "d"), transform, rings, pathError))
                return fail(node, pathError);
            return true;
        }
        if (kind == "circle" || kind == "ellipse") {
            double cx, cy, rx, ry;
            if (!readLength(node, "cx", cx, false) || !readLength(node, "cy", cy, false))
                return false;
            if (kind == "circle") {
                if (!readLength(node, "r", rx, true))
                    return false;
                ry = rx;
            } else if (!readLength(node, "rx", rx, true) || !readLength(node, "ry", ry, true)) {
                return false;
            }
            if (!(rx > 0 && ry > 0))
                return fail(node, "has no area");
            rings.push_back(ellipseRing(cx, cy, rx, ry, transform));
            return true;
        }
        if (kind == "rect") {
            if (hasAttribute(node, "rx") || hasAttribute(node, "ry"))
                return fail(node, "rounded corners are not supported");
            double x, y, w, h;
            if (!readLength(node, "x", x, false) || !readLength(node, "y", y, false) ||
                !readLength(node, "width", w, true) || !readLength(node, "height", h, true))
                return false;
            if (!(w > 0 && h > 0))
                return fail(node, "has no area");
            rings.push_back({transform.apply({x, y}), transform.apply({x + w, y}),
                             transform.apply({x + w, y + h}), transform.apply({x, y + h})});
            return true;
        }
        if (kind == "polygon") {
            std::string text = attribute(node, "points");
            Scanner scanner{text.data(), text.data() + text.size()};
            Ring ring;
            while (!scanner.atEnd()) {
                Point p;
                if (!scanner.number(p.x) || !scanner.number(p.y))
                    return fail(node, "cannot read points");
                appendPoint(ring, transform.apply(p));
            }
            closeRing(rings, ring);
            return true;
        }
        return fail(node, "is not a supported element");
    }

    bool readShape(xmlNode* node, const Affine& transform, uint32_t fill, bool hasFill, bool hard) {
        SvgShape shape;
        shape.hardLayer = hard;
        std::string fillText = attribute(node, "fill");
        if (!fillText.empty()) {
            if (!parseFill(fillText, fill))
                return fail(node, "fill must be #rrggbb");
            hasFill = true;
        }
        if (!hasFill)
            return fail(node, "has no fill");
        shape.fill = fill;
        std::string rule = attribute(node, "fill-rule");
        if (!rule.empty() && rule != "nonzero" && rule != "evenodd")
            return fail(node, "unknown fill-rule");
        shape.evenOdd = rule == "evenodd";
        shape.label = describe(node).substr(1);
        shape.label.erase(shape.label.find('>'), 1);
        if (!shapeRings(node, transform, shape.rings))
            return false;
        if (shape.rings.empty())
            return fail(node, "has no area");
        // Far beyond the canvas is a mistake, and would overflow the cut.
        for (const Ring& ring : shape.rings) {
            for (Point p : ring) {
                if (!(std::abs(p.x) <= kFarthestCoordinate && std::abs(p.y) <= kFarthestCoordinate))
                    return fail(node, "reaches far outside the picture");
            }
        }
        picture->shapes.push_back(std::move(shape));
        return true;
    }

    bool readChildren(xmlNode* parent, const Affine& transform, uint32_t fill, bool hasFill,
                      bool hard) {
        for (xmlNode* node = parent->children; node != nullptr; node = node->next) {
            if (node->type != XML_ELEMENT_NODE)
                continue;
            if (!isSvgElement(node))
                continue;  // editor metadata draws nothing
            std::string kind = nodeName(node);
            if (kind == "title" || kind == "desc" || kind == "metadata")
                continue;
            if (!readElement(node, transform, fill, hasFill, hard))
                return false;
        }
        return true;
    }

    bool readElement(xmlNode* node, Affine transform, uint32_t fill, bool hasFill, bool hard) {
        std::string which;
        if (changesLook(node, which))
            return fail(node, "the attribute " + which + " is not allowed");
        std::string transformText = attribute(node, "transform");
        if (!transformText.empty()) {
            Affine local;
            if (!parseTransform(transformText, local))
                return fail(node, "cannot read transform");
            transform = compose(transform, local);
        }
        std::string kind = nodeName(node);
        if (kind == "g") {
            std::string fillText = attribute(node, "fill");
            if (!fillText.empty()) {
                if (!parseFill(fillText, fill))
                    return fail(node, "fill must be #rrggbb");
                hasFill = true;
            }
            return readChildren(node, transform, fill, hasFill, hard);
        }
        return readShape(node, transform, fill, hasFill, hard);
    }

    bool readRoot(xmlNode* root) {
        if (root == nullptr || nodeName(root) != "svg") {
            error = name + ": not an SVG document";
            return false;
        }
        std::string viewBox = attribute(root, "viewBox");
        Scanner scanner{viewBox.data(), viewBox.data() + viewBox.size()};
        double x0, y0, w, h;
        if (!scanner.number(x0) || !scanner.number(y0) || !scanner.number(w) ||
            !scanner.number(h) || !scanner.atEnd() || x0 != 0 || y0 != 0 || !(w > 0 && h > 0))
            return fail(root, "needs viewBox=\"0 0 width height\"");
        picture->width = w;
        picture->height = h;
        std::string which;
        if (changesLook(root, which))
            return fail(root, "the attribute " + which + " is not allowed");
        int layersSeen = 0;
        for (xmlNode* node = root->children; node != nullptr; node = node->next) {
            if (!isSvgElement(node))
                continue;
            std::string kind = nodeName(node);
            if (kind == "title" || kind == "desc" || kind == "metadata")
                continue;
            std::string id = attribute(node, "id");
            bool standard = kind == "g" && id == "standard" && layersSeen == 0;
            bool hard = kind == "g" && id == "hard" && layersSeen == 1;
            if (!standard && !hard)
                return fail(
                    node, "the top level holds only <g id=\"standard\"> and then <g id=\"hard\">");
            ++layersSeen;
            if (!readElement(node, Affine{}, 0, false, hard))
                return false;
        }
        if (layersSeen == 0)
            return fail(root, "has no <g id=\"standard\"> layer");
        return true;
    }
};

void silenceLibxml(void*, const char*, ...) {}

}  // namespace

Affine compose(const Affine& outer, const Affine& inner) {
    return {outer.a * inner.a + outer.c * inner.b,
            outer.b * inner.a + outer.d * inner.b,
            outer.a * inner.c + outer.c * inner.d,
            outer.b * inner.c + outer.d * inner.d,
            outer.a * inner.e + outer.c * inner.f + outer.e,
            outer.b * inner.e + outer.d * inner.f + outer.f};
}

bool parseTransform(const std::string& text, Affine& out) {
    out = Affine{};
    size_t position = 0;
    while (true) {
        while (position < text.size() &&
               (std::isspace(static_cast<unsigned char>(text[position])) || text[position] == ','))
            ++position;
        if (position >= text.size())
            return true;
        size_t open = text.find('(', position);
        size_t close = text.find(')', position);
        if (open == std::string::npos || close == std::string::npos || close < open)
            return false;
        std::string kind = text.substr(position, open - position);
        while (!kind.empty() && std::isspace(static_cast<unsigned char>(kind.back())))
            kind.pop_back();
        std::vector<double> values;
        Scanner scanner{text.data() + open + 1, text.data() + close};
        while (!scanner.atEnd()) {
            double value;
            if (!scanner.number(value))
                return false;
            values.push_back(value);
        }
        size_t n = values.size();
        Affine step;
        if (kind == "translate" && (n == 1 || n == 2)) {
            step.e = values[0];
            step.f = n == 2 ? values[1] : 0;
        } else if (kind == "scale" && (n == 1 || n == 2)) {
            step.a = values[0];
            step.d = n == 2 ? values[1] : values[0];
        } else if (kind == "rotate" && (n == 1 || n == 3)) {
            double angle = values[0] * kPi / 180;
            Affine turn{std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle), 0, 0};
            if (n == 3) {
                Affine there{1, 0, 0, 1, values[1], values[2]};
                Affine back{1, 0, 0, 1, -values[1], -values[2]};
                turn = compose(there, compose(turn, back));
            }
            step = turn;
        } else if (kind == "matrix" && n == 6) {
            step = {values[0], values[1], values[2], values[3], values[4], values[5]};
        } else {
            return false;
        }
        out = compose(out, step);
        position = close + 1;
    }
}

bool flattenPathData(const std::string& data, const Affine& transform, std::vector<Ring>& rings,
                     std::string& error) {
    Scanner scanner{data.data(), data.data() + data.size()};
    Ring ring;             // in picture units, transformed
    Point current, start;  // in the element's own units
    Point lastControl;     // for S and T
    char previous = 0;
    char command = 0;
    auto bad = [&](const std::string& what) {
        error = "path data: " + what;
        return false;
    };
    while (!scanner.atEnd()) {
        if (!scanner.nextIsNumber()) {
            command = *scanner.cursor++;
            if (!std::strchr("MmLlHhVvCcSsQqTtZz", command))
                return bad(std::string("the command ") + command + " is not supported");
        } else if (command == 0) {
            return bad("does not start with a command");
        } else if (command == 'M' || command == 'm') {
            command = command == 'M' ? 'L' : 'l';  // further pairs after a move are lines
        } else if (command == 'Z' || command == 'z') {
            return bad("numbers after Z");
        }
        bool relative = std::islower(static_cast<unsigned char>(command)) != 0;
        char upper = char(std::toupper(static_cast<unsigned char>(command)));
        Point base = relative ? current : Point{0, 0};
        auto read = [&](Point& p) {
            if (!scanner.number(p.x) || !scanner.number(p.y))
                return false;
            p.x += base.x;
            p.y += base.y;
            return true;
        };
        Point p1, p2, p3;
        switch (upper) {
            case 'M':
                if (!read(p1))
                    return bad("M needs two numbers");
                closeRing(rings, ring);
                current = start = p1;
                appendPoint(ring, transform.apply(p1));
                break;
            case 'L':
                if (!read(p1))
                    return bad("L needs two numbers");
                current = p1;
                appendPoint(ring, transform.apply(p1));
                break;
            case 'H':
                if (!scanner.number(p1.x))
                    return bad("H needs a number");
                current.x = p1.x + (relative ? current.x : 0);
                appendPoint(ring, transform.apply(current));
                break;
            case 'V':
                if (!scanner.number(p1.y))
                    return bad("V needs a number");
                current.y = p1.y + (relative ? current.y : 0);
                appendPoint(ring, transform.apply(current));
                break;
            case 'C':
            case 'S':
                if (upper == 'C') {
                    if (!read(p1))
                        return bad("C needs six numbers");
                } else {
                    bool smooth = previous == 'C' || previous == 'S';
                    p1 = smooth
                             ? Point{2 * current.x - lastControl.x, 2 * current.y - lastControl.y}
                             : current;
                }
                if (!read(p2) || !read(p3))
                    return bad(std::string(1, command) + " is short of numbers");
                if (ring.empty())
                    appendPoint(ring, transform.apply(current));
                flattenCubic(ring, transform.apply(current), transform.apply(p1),
                             transform.apply(p2), transform.apply(p3));
                lastControl = p2;
                current = p3;
                break;
            case 'Q':
            case 'T':
                if (upper == 'Q') {
                    if (!read(p1))
                        return bad("Q needs four numbers");
                } else {
                    bool smooth = previous == 'Q' || previous == 'T';
                    p1 = smooth
                             ? Point{2 * current.x - lastControl.x, 2 * current.y - lastControl.y}
                             : current;
                }
                if (!read(p2))
                    return bad(std::string(1, command) + " is short of numbers");
                if (ring.empty())
                    appendPoint(ring, transform.apply(current));
                flattenQuadratic(ring, transform.apply(current), transform.apply(p1),
                                 transform.apply(p2));
                lastControl = p1;
                current = p2;
                break;
            case 'Z':
                closeRing(rings, ring);
                current = start;
                appendPoint(ring, transform.apply(start));
                break;
        }
        previous = upper;
    }
    closeRing(rings, ring);
    return true;
}

bool readSvgPicture(const std::string& text, const std::string& name, SvgPicture& picture,
                    std::string& error) {
    xmlSetGenericErrorFunc(nullptr, silenceLibxml);
    xmlDoc* document = xmlReadMemory(text.data(), int(text.size()), name.c_str(), nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOBLANKS);
    if (document == nullptr) {
        const xmlError* last = xmlGetLastError();
        error = name + ": not well-formed XML" +
                (last != nullptr ? " (line " + std::to_string(last->line) + ")" : "");
        return false;
    }
    Reader reader;
    reader.name = name;
    reader.picture = &picture;
    picture = SvgPicture{};
    bool ok = reader.readRoot(xmlDocGetRootElement(document));
    xmlFreeDoc(document);
    if (!ok)
        error = reader.error;
    return ok;
}

bool readSvgPictureFile(const std::string& path, SvgPicture& picture, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string name = path.substr(path.find_last_of('/') + 1);
    return readSvgPicture(text.str(), name, picture, error);
}
