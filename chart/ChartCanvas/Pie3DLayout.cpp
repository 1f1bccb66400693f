#include "chart/ChartCanvas/Pie3DLayout.h"

#include "chart/ChartCanvas/ChartCanvasUtils.h"

#include <algorithm>
#include <cmath>

int PieArcPointCount(double startAngle, double endAngle) {
    // Radians carry conversion error (15 degrees comes back as 14.999...), which
    // would flip the ties-to-even rule; snap to a billionth first.
    const double tens = std::abs(endAngle - startAngle) / ChartPiStep / 10;
    return std::min(ChartRound(std::nearbyint(tens * 1e9) / 1e9), 30) + 2;
}

std::vector<std::pair<int, int>> PieRimRuns(const std::vector<int>& faceX) {
    std::vector<std::pair<int, int>> runs;
    const int n = static_cast<int>(faceX.size());
    // 1-based indices as the rule is written.
    auto x = [&](int k) { return faceX[std::size_t(k - 1)]; };
    int m = 0;
    for (int i = 2; i <= n; ++i)
        if (x(i) > x(i - 1)) {
            m = i;
            break;
        }
    if (m == 0)
        return runs;
    int end = 0;
    for (int j = m + 1; j <= n - 1; ++j)
        if (x(j + 1) < x(j)) {
            end = j;
            break;
        }
    if (end == 0 && x(n) >= x(n - 1))
        end = n;
    if (end != 0)
        runs.emplace_back(m - 2, end - 1);
    if (end != n && x(n) > x(n - 1)) {
        int start = n - 1;
        while (start > 1 && x(start) > x(start - 1))
            --start;
        if (start > 1)
            runs.emplace_back(start - 1, n - 1);
    }
    return runs;
}

namespace {

// Front points s..e followed by the rear points e..s.
TPointArray Band(const TPointArray& front, const TPointArray& rear, int s, int e) {
    TPointArray poly;
    poly.reserve(std::size_t(2 * (e - s + 1)));
    for (int k = s; k <= e; ++k)
        poly.push_back(front[std::size_t(k)]);
    for (int k = e; k >= s; --k)
        poly.push_back(rear[std::size_t(k)]);
    return poly;
}

struct Rings {
    TPointArray Face, Back, InnerFace, InnerBack;
};

Rings PieRings(const TPie3DSlice& p, const TProject3D& project) {
    const int n = PieArcPointCount(p.StartAngle, p.EndAngle);
    const double step = (p.EndAngle - p.StartAngle) / (n - 1);
    const bool donut = p.DonutPercent > 0;
    const double xIn = p.XRadius * p.DonutPercent / 100.0;
    const double yIn = p.YRadius * p.DonutPercent / 100.0;
    Rings rings;
    rings.Face.resize(std::size_t(n));
    rings.Back.resize(std::size_t(n));
    if (donut) {
        rings.InnerFace.resize(std::size_t(n));
        rings.InnerBack.resize(std::size_t(n));
    }
    for (int k = 0; k < n; ++k) {
        const double a = p.StartAngle + k * step;
        const double c = std::cos(a), s = std::sin(a);
        const int x = p.XCenter + ChartRound(p.XRadius * c);
        const int y = p.YCenter - ChartRound(p.YRadius * s);
        rings.Face[std::size_t(k)] = project(x, y, p.Z1);
        rings.Back[std::size_t(k)] = project(x, y, p.Z0);
        if (donut) {
            const int ix = p.XCenter + ChartRound(xIn * c), iy = p.YCenter - ChartRound(yIn * s);
            rings.InnerFace[std::size_t(k)] = project(ix, iy, p.Z1);
            rings.InnerBack[std::size_t(k)] = project(ix, iy, p.Z0);
        }
    }
    return rings;
}

} // namespace

std::vector<TPie3DPolygon> LayoutPie3D(const TPie3DSlice& p, int viewerX,
                                       const TProject3D& project) {
    const Rings rings = PieRings(p, project);
    const TPointArray& face = rings.Face;
    const int n = static_cast<int>(face.size());
    const bool donut = p.DonutPercent > 0;
    std::vector<TPie3DPolygon> out;

    if (donut)
        out.push_back({Band(rings.InnerFace, rings.InnerBack, 0, n - 1), true});

    const TPoint centreFace = project(p.XCenter, p.YCenter, p.Z1);
    const TPoint centreBack = project(p.XCenter, p.YCenter, p.Z0);
    auto wall = [&](int k) {
        const TPoint innerF = donut ? rings.InnerFace[std::size_t(k)] : centreFace;
        const TPoint innerB = donut ? rings.InnerBack[std::size_t(k)] : centreBack;
        out.push_back({{innerF, face[std::size_t(k)], rings.Back[std::size_t(k)], innerB}, true});
    };
    if (p.DrawSides) {
        if (face[std::size_t(n - 1)].X < viewerX)
            wall(n - 1);
        if (face[0].X > viewerX)
            wall(0);
    }

    TPointArray top;
    if (donut) {
        top = face;
        top.insert(top.end(), rings.InnerFace.rbegin(), rings.InnerFace.rend());
    } else {
        top.reserve(std::size_t(n + 1));
        top.push_back(centreFace);
        top.insert(top.end(), face.begin(), face.end());
    }
    out.push_back({std::move(top), false});

    std::vector<int> faceX(face.size());
    std::transform(face.begin(), face.end(), faceX.begin(), [](const TPoint& q) { return q.X; });
    for (const auto& [s, e] : PieRimRuns(faceX))
        out.push_back({Band(face, rings.Back, s, e), true});
    return out;
}
