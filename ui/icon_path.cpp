#include "ui/icon_path.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace ui {
namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kArcStep = 0.19634955f;  // pi / 16: angle per flattened arc segment
constexpr int kCubicSteps = 12;

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Converts an already scanned decimal number. Like strtof, a number beyond the
// float range becomes infinity or zero; one beyond even double's counts as bad.
bool ParseFloat(std::string_view number, float& value) {
  if (number.front() == '+') number.remove_prefix(1);  // from_chars takes no '+'
  const char* first = number.data();
  const char* last = first + number.size();
  const auto result = std::from_chars(first, last, value);
  if (result.ec != std::errc::result_out_of_range) return result.ec == std::errc();
  double wide = 0.0;
  if (std::from_chars(first, last, wide).ec != std::errc()) return false;
  value = static_cast<float>(std::copysign(std::fabs(wide) > 1.0 ? HUGE_VAL : 0.0, wide));
  return true;
}

// Walks the path text. Numbers use the C-locale decimal form (sign, digits, point,
// exponent) whatever the process locale is, so both builds read paths alike.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : text_(text) {}

  void SkipSeparators() {
    while (pos_ < text_.size() && IsSeparator(text_[pos_])) ++pos_;
  }
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return text_[pos_]; }
  void Advance() { ++pos_; }
  size_t Position() const { return pos_; }

  bool ReadNumber(float& value) {
    SkipSeparators();
    size_t end = pos_;
    if (end < text_.size() && (text_[end] == '+' || text_[end] == '-')) ++end;
    const size_t digitsStart = end;
    while (end < text_.size() && IsDigit(text_[end])) ++end;
    bool hasDigits = end > digitsStart;
    if (end < text_.size() && text_[end] == '.') {
      ++end;
      const size_t fraction = end;
      while (end < text_.size() && IsDigit(text_[end])) ++end;
      hasDigits = hasDigits || end > fraction;
    }
    if (!hasDigits) return false;
    if (end < text_.size() && (text_[end] == 'e' || text_[end] == 'E')) {
      size_t e = end + 1;
      if (e < text_.size() && (text_[e] == '+' || text_[e] == '-')) ++e;
      if (e < text_.size() && IsDigit(text_[e])) {
        while (e < text_.size() && IsDigit(text_[e])) ++e;
        end = e;
      }
    }
    if (!ParseFloat(text_.substr(pos_, end - pos_), value)) return false;
    pos_ = end;
    return true;
  }

  bool ReadNumbers(float* values, int count) {
    for (int i = 0; i < count; ++i) {
      if (!ReadNumber(values[i])) return false;
    }
    return true;
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

class PathBuilder {
 public:
  PolygonList Finish() {
    Flush();
    return std::move(result_);
  }

  // Returns false when the command stops the parse.
  // `next` receives the command that a following number repeats: M turns into L,
  // Z clears it, anything else repeats itself.
  bool Run(char command, Cursor& in, char& next) {
    next = command;
    const bool relative = command >= 'a';
    const float ox = relative ? cx_ : 0.0f;
    const float oy = relative ? cy_ : 0.0f;
    float v[7];
    switch (command) {
      case 'M':
      case 'm':
        if (!in.ReadNumbers(v, 2)) return false;
        Flush();
        current_.push_back({ox + v[0], oy + v[1]});
        sx_ = cx_ = ox + v[0];
        sy_ = cy_ = oy + v[1];
        next = relative ? 'l' : 'L';
        return true;
      case 'L':
      case 'l':
        if (!in.ReadNumbers(v, 2)) return false;
        LineTo(ox + v[0], oy + v[1]);
        return true;
      case 'H':
      case 'h':
        if (!in.ReadNumbers(v, 1)) return false;
        LineTo(ox + v[0], cy_);
        return true;
      case 'V':
      case 'v':
        if (!in.ReadNumbers(v, 1)) return false;
        LineTo(cx_, oy + v[0]);
        return true;
      case 'C':
      case 'c':
        if (!in.ReadNumbers(v, 6)) return false;
        CubicTo({ox + v[0], oy + v[1]}, {ox + v[2], oy + v[3]}, {ox + v[4], oy + v[5]});
        return true;
      case 'A':
      case 'a':
        if (!in.ReadNumbers(v, 7)) return false;
        AppendArc(current_, {cx_, cy_}, v[0], v[1], v[2], v[3] != 0.0f, v[4] != 0.0f, {ox + v[5], oy + v[6]});
        cx_ = ox + v[5];
        cy_ = oy + v[6];
        return true;
      case 'Z':
      case 'z':
        Flush();
        current_.push_back({sx_, sy_});
        cx_ = sx_;
        cy_ = sy_;
        next = 0;
        return true;
      default:
        return false;
    }
  }

 private:
  void Flush() {
    if (current_.size() > 2) result_.push_back(std::move(current_));
    current_.clear();
  }
  void LineTo(float x, float y) {
    current_.push_back({x, y});
    cx_ = x;
    cy_ = y;
  }
  void CubicTo(PointF p1, PointF p2, PointF p3) {
    const PointF p0{cx_, cy_};
    for (int k = 1; k <= kCubicSteps; ++k) {
      const float t = static_cast<float>(k) / kCubicSteps;
      const float u = 1.0f - t;
      const float a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
      current_.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
    }
    cx_ = p3.x;
    cy_ = p3.y;
  }

  PolygonList result_;
  Polygon current_;
  float cx_ = 0.0f, cy_ = 0.0f;  // current point
  float sx_ = 0.0f, sy_ = 0.0f;  // start of the subpath
};

}  // namespace

void AppendArc(Polygon& out, PointF from, float rx, float ry, float rotationDegrees, bool largeArc, bool sweep,
               PointF to) {
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  if (rx < 0.0001f || ry < 0.0001f || (from.x == to.x && from.y == to.y)) {
    out.push_back(to);
    return;
  }
  const float phi = rotationDegrees * kPi / 180.0f;
  const float cosPhi = std::cos(phi), sinPhi = std::sin(phi);
  const float dx = (from.x - to.x) / 2, dy = (from.y - to.y) / 2;
  const float x1 = cosPhi * dx + sinPhi * dy;
  const float y1 = -sinPhi * dx + cosPhi * dy;

  const float lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
  if (lambda > 1) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }

  const float d = rx * rx * y1 * y1 + ry * ry * x1 * x1;
  float s = d > 0 ? std::sqrt(std::max(0.0f, (rx * rx * ry * ry - d) / d)) : 0.0f;
  if (largeArc == sweep) s = -s;
  const float cxr = s * rx * y1 / ry;
  const float cyr = -s * ry * x1 / rx;
  const float centreX = cosPhi * cxr - sinPhi * cyr + (from.x + to.x) / 2;
  const float centreY = sinPhi * cxr + cosPhi * cyr + (from.y + to.y) / 2;

  const float theta1 = std::atan2((y1 - cyr) / ry, (x1 - cxr) / rx);
  float delta = std::atan2((-y1 - cyr) / ry, (-x1 - cxr) / rx) - theta1;
  if (sweep && delta < 0) delta += 2 * kPi;
  if (!sweep && delta > 0) delta -= 2 * kPi;
  if (!std::isfinite(delta) || !std::isfinite(centreX) || !std::isfinite(centreY)) {
    out.push_back(to);  // end points or radii beyond float range: no arc to follow
    return;
  }

  const int n = std::max(2, static_cast<int>(std::ceil(std::fabs(delta) / kArcStep)));
  for (int k = 1; k <= n; ++k) {
    const float theta = theta1 + k * delta / n;
    const float c = std::cos(theta), sn = std::sin(theta);
    out.push_back({centreX + rx * c * cosPhi - ry * sn * sinPhi, centreY + rx * c * sinPhi + ry * sn * cosPhi});
  }
  out.back() = to;
}

PolygonList ParsePath(std::string_view text) {
  Cursor in(text);
  PathBuilder builder;
  char command = 0;
  for (;;) {
    in.SkipSeparators();
    if (in.AtEnd()) break;
    const size_t before = in.Position();
    if (IsLetter(in.Peek())) {
      command = in.Peek();
      in.Advance();
    } else if (command == 0) {
      break;
    }
    char next = 0;
    if (!builder.Run(command, in, next) || in.Position() == before) break;
    command = next;
  }
  return builder.Finish();
}

}  // namespace ui
