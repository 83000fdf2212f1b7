#include "tests/numerics/slidetesting.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace tarvolin::testing {

Eigen::MatrixXd slidingShape(int dims, int curve, Sliders& sliders, unsigned seed) {
  std::mt19937 engine(seed);
  std::normal_distribution<double> normal(0.0, 1.0);
  const Eigen::Index fixed = 5, surface = dims == 2 ? 0 : 12;
  Eigen::MatrixXd x(fixed + curve + surface, dims);
  for (Eigen::Index i = 0; i < fixed; ++i) {
    for (Eigen::Index c = 0; c < dims; ++c) x(i, c) = 2 * normal(engine);
  }
  for (Eigen::Index i = 0; i < curve; ++i) {
    const double t = 0.35 * static_cast<double>(i);
    x(fixed + i, 0) = 1.5 * std::cos(t);
    x(fixed + i, 1) = 1.2 * std::sin(t);
    if (dims == 3) x(fixed + i, 2) = 0.25 * t;
  }
  for (Eigen::Index i = 0; i < surface; ++i) {
    const double u = static_cast<double>(i % 4) * 0.5, v = static_cast<double>(i / 4) * 0.5;
    x.row(fixed + curve + i) << u - 2, v + 1, 0.3 * std::sin(u) * std::cos(v) - 1;
  }
  sliders = curvesliders({curve}, static_cast<int>(fixed) + curve);
  for (Eigen::Index i = 0; i < surface; ++i) {
    sliders.surface.push_back(static_cast<int>(fixed + curve + i));
  }
  return x;
}

Eigen::MatrixXd perturbed(const Eigen::MatrixXd& x, std::mt19937& engine, double amount) {
  std::normal_distribution<double> normal(0.0, amount);
  Eigen::MatrixXd y = x;
  for (Eigen::Index i = 0; i < y.size(); ++i) y(i) += normal(engine);
  return y;
}

Eigen::MatrixXd denseBending(const Eigen::MatrixXd& r) {
  const Eigen::Index p = r.rows(), d = r.cols(), n = p + d + 1;
  Eigen::MatrixXd q = Eigen::MatrixXd::Zero(n, n);
  for (Eigen::Index i = 0; i < p; ++i) {
    for (Eigen::Index j = 0; j < p; ++j) {
      const double dist = (r.row(i) - r.row(j)).norm();
      q(i, j) = d == 3 ? dist : (dist > 0 ? dist * dist * std::log(dist * dist) : 0.0);
    }
    q(i, p) = q(p, i) = 1;
    for (Eigen::Index c = 0; c < d; ++c) q(i, p + 1 + c) = q(p + 1 + c, i) = r(i, c);
  }
  return q.fullPivLu().inverse().topLeftCorner(p, p);
}

Eigen::MatrixXd denseDirections(const Eigen::MatrixXd& y, const Sliders& sliders) {
  const Eigen::Index p = y.rows(), d = y.cols();
  std::vector<std::pair<Eigen::Index, Eigen::VectorXd>> columns;
  for (const CurveSlider& s : sliders.curve) {
    const Eigen::VectorXd along = (y.row(s.after) - y.row(s.before)).transpose();
    columns.emplace_back(s.point, along / along.norm());
  }
  for (const int s : sliders.surface) {
    std::vector<Eigen::Index> order(static_cast<size_t>(p));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](Eigen::Index a, Eigen::Index b) {
      return (y.row(a) - y.row(s)).squaredNorm() < (y.row(b) - y.row(s)).squaredNorm();
    });
    // order[0] is the point itself, at distance 0.
    Eigen::MatrixXd near(5, d);
    for (Eigen::Index j = 0; j < 5; ++j) near.row(j) = y.row(order[static_cast<size_t>(j)]);
    near.rowwise() -= near.colwise().mean();
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(near, Eigen::ComputeFullV);
    columns.emplace_back(s, svd.matrixV().col(0));
    columns.emplace_back(s, svd.matrixV().col(1));
  }
  Eigen::MatrixXd u = Eigen::MatrixXd::Zero(p * d, static_cast<Eigen::Index>(columns.size()));
  for (size_t a = 0; a < columns.size(); ++a) {
    for (Eigen::Index c = 0; c < d; ++c) {
      u(c * p + columns[a].first, static_cast<Eigen::Index>(a)) = columns[a].second(c);
    }
  }
  return u;
}

Eigen::VectorXd stacked(const Eigen::MatrixXd& x) {
  return Eigen::Map<const Eigen::VectorXd>(x.data(), x.size());
}

Eigen::MatrixXd unstacked(const Eigen::VectorXd& v, Eigen::Index p) {
  return Eigen::Map<const Eigen::MatrixXd>(v.data(), p, v.size() / p);
}

Eigen::MatrixXd denseSlide(const Eigen::MatrixXd& y, const Eigen::MatrixXd& r,
                           const Sliders& sliders, SlideCriterion criterion) {
  const Eigen::Index p = y.rows(), d = y.cols();
  const Eigen::MatrixXd u = denseDirections(y, sliders);
  Eigen::MatrixXd b = Eigen::MatrixXd::Identity(p * d, p * d);
  if (criterion == SlideCriterion::bendingEnergy) {
    const Eigen::MatrixXd l = denseBending(r);
    for (Eigen::Index c = 0; c < d; ++c) b.block(c * p, c * p, p, p) = l;
  }
  const Eigen::VectorXd off = stacked(y) - stacked(r);
  const Eigen::MatrixXd ubu = u.transpose() * b * u;
  const Eigen::VectorXd t = ubu.fullPivLu().solve(u.transpose() * b * off);
  return unstacked(stacked(y) - u * t, p);
}

Eigen::MatrixXd properRotation(const Eigen::MatrixXd& target, const Eigen::MatrixXd& subject) {
  const Eigen::JacobiSVD<Eigen::MatrixXd> svd(subject.transpose() * target,
                                              Eigen::ComputeFullU | Eigen::ComputeFullV);
  Eigen::MatrixXd fix = Eigen::MatrixXd::Identity(subject.cols(), subject.cols());
  fix(subject.cols() - 1, subject.cols() - 1) =
      (svd.matrixU() * svd.matrixV().transpose()).determinant() < 0 ? -1 : 1;
  return svd.matrixU() * fix * svd.matrixV().transpose();
}

double centroidSize(const Eigen::MatrixXd& x) { return (x.rowwise() - x.colwise().mean()).norm(); }

void projectOntoTangent(std::vector<Eigen::MatrixXd>& y, const Eigen::MatrixXd& r) {
  const Eigen::VectorXd m = stacked(r) / r.norm();
  const Eigen::MatrixXd tangent = Eigen::MatrixXd::Identity(m.size(), m.size()) - m * m.transpose();
  for (Eigen::MatrixXd& c : y) c = unstacked(tangent * stacked(c) + m, c.rows());
}

std::vector<Eigen::MatrixXd> denseSlideFit(std::vector<Eigen::MatrixXd> y, const Sliding& slide,
                                           Eigen::MatrixXd& mean, int& rounds) {
  const double n = static_cast<double>(y.size());
  for (Eigen::MatrixXd& c : y) {
    c = c.rowwise() - c.colwise().mean();
    c /= c.norm();
  }
  const Eigen::MatrixXd first = y.front();
  for (Eigen::MatrixXd& c : y) c = c * properRotation(first, c);
  const auto average = [&] {
    Eigen::MatrixXd sum = Eigen::MatrixXd::Zero(y[0].rows(), y[0].cols());
    for (const Eigen::MatrixXd& c : y) sum += c;
    return Eigen::MatrixXd(sum / n);
  };
  Eigen::MatrixXd r = average();
  double before = n * r.squaredNorm();
  for (rounds = 1; rounds <= slide.maxRounds; ++rounds) {
    for (Eigen::MatrixXd& c : y) c = denseSlide(c, r, slide.sliders, slide.criterion);
    const double after = n * average().squaredNorm();
    const Eigen::MatrixXd target = r / centroidSize(r);
    for (Eigen::MatrixXd& c : y) c = c * properRotation(target, c);
    r = average();
    r /= centroidSize(r);
    if (std::abs(before - after) <= slide.tolerance) break;
    before = after;
  }
  rounds = std::min(rounds, slide.maxRounds);
  if (slide.project) projectOntoTangent(y, r);
  mean = r;
  return y;
}

std::vector<Eigen::MatrixXd> denseRefitFit(std::vector<Eigen::MatrixXd> y, const Sliding& slide,
                                           Eigen::MatrixXd& mean, int& rounds, double& lastChange) {
  const auto unit = [](Eigen::MatrixXd c) {
    c = c.rowwise() - c.colwise().mean();
    return Eigen::MatrixXd(c / c.norm());
  };
  const auto unitMean = [&] {
    Eigen::MatrixXd sum = Eigen::MatrixXd::Zero(y[0].rows(), y[0].cols());
    for (const Eigen::MatrixXd& c : y) sum += c;
    return unit(sum);
  };
  const auto squares = [&](const Eigen::MatrixXd& m) {
    double sum = 0;
    for (const Eigen::MatrixXd& c : y) sum += (c - m).squaredNorm();
    return sum;
  };
  for (Eigen::MatrixXd& c : y) c = unit(c);
  const Eigen::MatrixXd first = y.front();
  for (Eigen::MatrixXd& c : y) c = c * properRotation(first, c);
  Eigen::MatrixXd r = unitMean();
  double before = squares(r);
  for (int plain = 1; plain <= 200; ++plain) {
    for (Eigen::MatrixXd& c : y) c = c * properRotation(r, c);
    r = unitMean();
    const double after = squares(r);
    const bool done = std::abs(before - after) <= 1e-12;
    before = after;
    if (done) break;
  }
  for (rounds = 1; rounds <= slide.maxRounds; ++rounds) {
    for (Eigen::MatrixXd& c : y) {
      c = unit(denseSlide(c, r, slide.sliders, slide.criterion));
      c = c * properRotation(r, c);
    }
    r = unitMean();
    const double after = squares(r);
    lastChange = std::abs(before - after);
    if (lastChange <= slide.tolerance) break;
    before = after;
  }
  rounds = std::min(rounds, slide.maxRounds);
  if (slide.project) projectOntoTangent(y, r);
  mean = r;
  return y;
}

}  // namespace tarvolin::testing
