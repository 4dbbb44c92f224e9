// An independent check of a point against a CBF file, written for the tests from the format's
// definition alone (it shares no code with the library's reader): the objective the file gives
// the point, and the largest violation of the file's domains in their own terms, over variables
// (VAR) and over the rows Ax + b (CON). Linear, quadratic and rotated quadratic domains only.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace cbfcheck {

struct Domain {
  std::string kind;
  int size;
};

struct File {
  int sense = 1;  // 1 minimise, -1 maximise
  std::vector<Domain> var, con;
  std::vector<std::pair<int, double>> obj;
  double objConst = 0;
  std::vector<std::vector<std::pair<int, double>>> rows;  // A by rows
  std::vector<double> b;
  bool ok = false;
  std::string fault;
};

// Reads a (gzipped) CBF file through gzip -dc. Sets ok, or fault for what it cannot check.
inline File Read(const std::string& path) {
  File f;
  FILE* pipe = popen(("gzip -dc '" + path + "'").c_str(), "r");
  std::string text;
  char buf[1 << 16];
  for (size_t n; pipe != nullptr && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) text.append(buf, n);
  if (pipe != nullptr) pclose(pipe);
  std::istringstream in(text);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) {
    if (l.empty() || l[0] == '#' || l.find_first_not_of(" \t\r") == std::string::npos) continue;
    lines.push_back(l);
  }
  size_t i = 0;
  auto next = [&]() -> std::istringstream { return std::istringstream(i < lines.size() ? lines[i++] : ""); };
  auto domains = [&](std::vector<Domain>& out) {
    int n = 0, k = 0;
    next() >> n >> k;
    for (int d = 0; d < k; ++d) {
      Domain dom;
      next() >> dom.kind >> dom.size;
      out.push_back(dom);
    }
    return n;
  };
  while (i < lines.size()) {
    std::string head;
    std::istringstream(lines[i++]) >> head;
    if (head == "VER") {
      next();
    } else if (head == "OBJSENSE") {
      std::string s;
      next() >> s;
      f.sense = s == "MAX" ? -1 : 1;
    } else if (head == "VAR") {
      domains(f.var);
    } else if (head == "CON") {
      const int m = domains(f.con);
      f.rows.assign(static_cast<size_t>(m), {});
      f.b.assign(static_cast<size_t>(m), 0.0);
    } else if (head == "INT") {
      int k = 0;
      next() >> k;
      i += static_cast<size_t>(k);
    } else if (head == "OBJACOORD" || head == "ACOORD" || head == "BCOORD") {
      int k = 0;
      next() >> k;
      for (int e = 0; e < k; ++e) {
        std::istringstream l = next();
        int r = 0, c = 0;
        double v = 0;
        if (head == "ACOORD") {
          l >> r >> c >> v;
          if (r < 0 || r >= static_cast<int>(f.rows.size())) return f.fault = "ACOORD row out of range", f;
          f.rows[static_cast<size_t>(r)].emplace_back(c, v);
        } else if (head == "BCOORD") {
          l >> r >> v;
          if (r < 0 || r >= static_cast<int>(f.b.size())) return f.fault = "BCOORD row out of range", f;
          f.b[static_cast<size_t>(r)] += v;
        } else {
          l >> c >> v;
          f.obj.emplace_back(c, v);
        }
      }
    } else if (head == "OBJBCOORD") {
      next() >> f.objConst;
    } else {
      f.fault = "section " + head + " is not checked";
      return f;
    }
  }
  f.ok = true;
  return f;
}

// The largest violation of the domains over the values v (consecutive members per domain).
inline double Violation(const std::vector<Domain>& domains, const std::vector<double>& v) {
  double worst = 0;
  size_t p = 0;
  for (const Domain& d : domains) {
    const auto* x = v.data() + p;
    const size_t n = static_cast<size_t>(d.size);
    p += n;
    double viol = 0;
    if (d.kind == "L+") {
      for (size_t k = 0; k < n; ++k) viol = std::max(viol, -x[k]);
    } else if (d.kind == "L-") {
      for (size_t k = 0; k < n; ++k) viol = std::max(viol, x[k]);
    } else if (d.kind == "L=") {
      for (size_t k = 0; k < n; ++k) viol = std::max(viol, std::fabs(x[k]));
    } else if (d.kind == "Q") {
      double s = 0;
      for (size_t k = 1; k < n; ++k) s += x[k] * x[k];
      viol = std::sqrt(s) - x[0];
    } else if (d.kind == "QR") {
      double s = 0;
      for (size_t k = 2; k < n; ++k) s += x[k] * x[k];
      viol = std::max({-x[0], -x[1], std::sqrt(s) - std::sqrt(std::max(0.0, 2 * x[0] * x[1]))});
    } else if (d.kind != "F") {
      return INFINITY;
    }
    worst = std::max(worst, viol);
  }
  return worst;
}

struct Result {
  double objective = 0;
  double violation = INFINITY;
};

// The file's objective and the largest domain violation at x (x[j]: the file's variable j).
inline Result Check(const File& f, const std::vector<double>& x) {
  Result r;
  r.objective = f.objConst;
  for (auto [j, c] : f.obj) r.objective += c * x[static_cast<size_t>(j)];
  std::vector<double> act(f.b);
  for (size_t i = 0; i < f.rows.size(); ++i) {
    for (auto [j, a] : f.rows[i]) act[i] += a * x[static_cast<size_t>(j)];
  }
  r.violation = std::max(Violation(f.var, x), Violation(f.con, act));
  return r;
}

}  // namespace cbfcheck
