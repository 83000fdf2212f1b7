// Writes the bundled example data: 40 skull-like 3D configurations of 14
// landmarks whose shape changes with size (the snout lengthens and the
// braincase shrinks relative to it as specimens grow), each turned, moved and
// sized at random, with a little noise.
//
//   make_examples FOLDER SCRATCH
//   make_examples --missing FOLDER
//   make_examples --faults FOLDER
//
// The first form writes FOLDER/skulls_tps.txt (the coordinates as LM3=
// records with IMAGE= and ID= lines), FOLDER/skulls_mass.txt (an x list: a
// body mass per specimen, one per line), FOLDER/skulls_wire.txt (a
// wireframe: wire number and the two landmarks it joins),
// FOLDER/skulls2d.tps (the same specimens seen from the side, each turned in
// the plane and moved, as LM= records with ID=), FOLDER/skulls_covariates.csv
// (ID, mass and group, in reverse order), FOLDER/skulls_slicer/
// skull_NN.mrk.json (one 3D Slicer markup file per specimen), and
// SCRATCH/skulls_coordinates.csv (a table with a header: the ID skull_01 ...
// skull_40 and the coordinates, no size).
//
// The copies that carry a size column are written by tarvolin-cli convert
// (see CMakeLists.txt): skulls.csv from the coordinates table, skulls_zor.txt
// from skulls.csv, skulls2d.txt from skulls2d.tps. The size column then holds
// the centroid size as the program computes it from the coordinates, with
// every digit, so every copy gives the same figures to the last digit. The
// TPS, NTS and Morphologika versions of skulls.csv are converted the same way.
//
// The second form writes FOLDER/skulls_missing.csv: FOLDER/skulls.csv with
// landmark 5 of specimen 3 and landmarks 2 and 11 of specimen 17 NA (their
// sizes, those of the whole specimens, kept).
//
// The third form writes FOLDER/skulls_faults.tps: FOLDER/skulls.tps with
// the slips a data check should find: landmarks 3 and 9 of skull_07
// exchanged, skull_20 mirrored (its x reversed) and skull_31 in centimetres
// (every coordinate a tenth). (A repeated ID is not among them: the readers
// refuse a file that has one, naming both records.)
//
// The side views draw on a random stream of their own, so that the 3D files
// do not depend on them.
//
// The random numbers come from std::mt19937 with a fixed seed, turned into
// uniform and normal values here rather than by the library's distributions
// (whose output differs between standard libraries), so the files come out
// the same everywhere.

#include <Eigen/Core>
#include <Eigen/Geometry>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kSpecimens = 40;
constexpr int kLandmarks = 14;
constexpr double kPi = 3.14159265358979323846;

class Random {
 public:
  explicit Random(unsigned seed) : engine_(seed) {}
  // Uniform on (0, 1).
  double uniform() { return (static_cast<double>(engine_()) + 0.5) / 4294967296.0; }
  double normal() {
    const double u1 = uniform();
    const double u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
  }

 private:
  std::mt19937 engine_;
};

// Mean shape: midline and paired points of a small mammal skull, in mm.
Eigen::Matrix<double, kLandmarks, 3> baseShape() {
  Eigen::Matrix<double, kLandmarks, 3> s;
  s << 0.0, 0.0, 0.0,   // 1 prosthion (snout tip)
      6.0, 0.0, 4.0,    // 2 nasion
      14.0, 0.0, 8.0,   // 3 bregma
      22.0, 0.0, 6.0,   // 4 lambda
      26.0, 0.0, 0.0,   // 5 opisthion
      21.0, 0.0, -2.0,  // 6 basion
      8.0, 4.0, 0.0,    // 7 left orbit front
      8.0, -4.0, 0.0,   // 8 right orbit front
      13.0, 7.0, 2.0,   // 9 left zygion
      13.0, -7.0, 2.0,  // 10 right zygion
      20.0, 6.0, 3.0,   // 11 left euryon
      20.0, -6.0, 3.0,  // 12 right euryon
      3.0, 2.0, -1.0,   // 13 left canine
      3.0, -2.0, -1.0;  // 14 right canine
  return s;
}

// The shape change per unit of ln(size): the snout reaches further forward
// and the braincase grows less than the face.
Eigen::Matrix<double, kLandmarks, 3> allometry() {
  Eigen::Matrix<double, kLandmarks, 3> a = Eigen::Matrix<double, kLandmarks, 3>::Zero();
  a(0, 0) = -2.5;   // snout tip forward
  a(12, 0) = -2.0;  // canines follow it
  a(13, 0) = -2.0;
  a(1, 0) = -1.0;  // nasion forward
  a(2, 2) = -1.2;  // vault flatter
  a(3, 2) = -0.8;
  a(10, 1) = -0.7;  // braincase narrower
  a(11, 1) = 0.7;
  a(8, 1) = 0.9;  // zygomatic arches wider
  a(9, 1) = -0.9;
  return a;
}

double centroidSize(const Eigen::MatrixXd& x) {
  return std::sqrt((x.rowwise() - x.colwise().mean()).squaredNorm());
}

Eigen::Matrix3d randomRotation(Random& random) {
  Eigen::Quaterniond q(random.normal(), random.normal(), random.normal(), random.normal());
  q.normalize();
  return q.toRotationMatrix();
}

// Rounds to the four decimals the files hold.
double rounded(double v) { return std::round(v * 10000.0) / 10000.0; }

bool writeFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

std::string format(const char* fmt, double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, fmt, v);
  return buffer;
}

// skulls.csv with the landmarks of some specimens not measured.
int writeMissing(const std::string& folder) {
  std::ifstream in(folder + "/skulls.csv");
  std::string header;
  if (!std::getline(in, header)) {
    std::fprintf(stderr, "make_examples: cannot read %s/skulls.csv\n", folder.c_str());
    return 1;
  }
  std::string text = header + "\n";
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields;
    std::stringstream row(line);
    for (std::string field; std::getline(row, field, ',');) fields.push_back(field);
    // Specimen 3 lost landmark 5, specimen 17 landmarks 2 and 11.
    auto lose = [&fields](int landmark) {
      for (int c = 0; c < 3; ++c) fields[static_cast<size_t>(3 * (landmark - 1) + c + 1)] = "NA";
    };
    if (fields.front() == "skull_03") lose(5);
    if (fields.front() == "skull_17") {
      lose(2);
      lose(11);
    }
    for (size_t f = 0; f < fields.size(); ++f) text += (f == 0 ? "" : ",") + fields[f];
    text += "\n";
  }
  if (!writeFile(folder + "/skulls_missing.csv", text)) {
    std::fprintf(stderr, "make_examples: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}

// skulls.tps with the slips of a data set put together by hand.
int writeFaults(const std::string& folder) {
  std::ifstream in(folder + "/skulls.tps");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  if (lines.empty()) {
    std::fprintf(stderr, "make_examples: cannot read %s/skulls.tps\n", folder.c_str());
    return 1;
  }
  // Each record: LM3=k, k coordinate lines, then its other lines up to ID=.
  size_t start = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind("LM3=", 0) == 0) start = i + 1;
    if (lines[i].rfind("ID=", 0) != 0) continue;
    const std::string id = lines[i].substr(3);
    auto landmark = [&](int j) -> std::string& {
      return lines[start + static_cast<size_t>(j - 1)];
    };
    auto numbers = [](const std::string& line) {
      std::stringstream read(line);
      double x = 0, y = 0, z = 0;
      read >> x >> y >> z;
      return Eigen::Vector3d(x, y, z);
    };
    auto write = [](const Eigen::Vector3d& p) {
      return format("%.6g", p.x()) + " " + format("%.6g", p.y()) + " " + format("%.6g", p.z());
    };
    if (id == "skull_07") std::swap(landmark(3), landmark(9));
    for (int j = 1; j <= 14; ++j) {
      if (id == "skull_20")
        landmark(j) = write(numbers(landmark(j)).cwiseProduct(Eigen::Vector3d(-1, 1, 1)));
      if (id == "skull_31") landmark(j) = write(numbers(landmark(j)) / 10);
    }
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  if (!writeFile(folder + "/skulls_faults.tps", text)) {
    std::fprintf(stderr, "make_examples: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}


// Outlines and shells whose semilandmarks lie where a digitizer happened to
// put them along their curves and over their surfaces: the spacing differs
// from specimen to specimen, as sliding is meant to mend.
//
// wings2d.tps: 30 wings, 8 landmarks and two curves of 10 points (the front
// and the back edge), sizes spread over a factor of 2, the edges rounder
// in larger wings.
// shells.csv: 24 shells, 10 landmarks (apex, a ring of 8 on the rim, the
// aperture), a curve of 12 points down one side (shells_sliders.txt slides
// its inner 10 between their neighbours) and 60 points over the dome
// (shells_surface.txt), taller in larger shells.
int writeSliding(const std::string& folder) {
  Random random(20261210u);
  std::string wings;
  // The wing's edge from landmark a to landmark b as a bulging arc.
  const auto edge = [](const Eigen::Vector2d& a, const Eigen::Vector2d& b, double bulge,
                       double t) {
    const Eigen::Vector2d along = b - a;
    const Eigen::Vector2d normal(-along.y(), along.x());
    return Eigen::Vector2d(a + t * along + bulge * std::sin(kPi * t) * normal);
  };
  for (int i = 0; i < 30; ++i) {
    const double size = std::exp(std::log(4.0) + std::log(2.0) * random.uniform());
    const double round = 0.12 + 0.08 * (size - 4.0) / 4.0;
    Eigen::Matrix<double, 8, 2> fixed;
    fixed << 0, 0, 1.2, 0.35, 2.6, 0.55, 4.0, 0.3, 4.3, -0.1, 3.2, -0.5, 1.8, -0.55, 0.6, -0.3;
    for (int j = 0; j < 8; ++j) {
      fixed(j, 0) += 0.05 * random.normal();
      fixed(j, 1) += 0.05 * random.normal();
    }
    std::vector<Eigen::Vector2d> points;
    for (int j = 0; j < 8; ++j) points.push_back(fixed.row(j).transpose());
    // The front edge from landmark 1 to 4 and the back edge from 5 to 8,
    // at uneven steps.
    for (const auto& [a, b, bulge] : {std::tuple{0, 3, round}, std::tuple{4, 7, round * 0.7}}) {
      std::vector<double> steps(10);
      double total = 0;
      for (double& step : steps) total += (step = 0.5 + random.uniform());
      double t = 0;
      for (int j = 0; j < 10; ++j) {
        t += steps[static_cast<size_t>(j)] / (total + 0.6);
        points.push_back(edge(fixed.row(a).transpose(), fixed.row(b).transpose(), bulge, t));
      }
    }
    const double angle = 2 * kPi * random.uniform();
    const Eigen::Matrix2d turn = Eigen::Rotation2Dd(angle).toRotationMatrix();
    const Eigen::Vector2d shift(20 * random.normal(), 20 * random.normal());
    wings += "LM=8\n";
    for (size_t j = 0; j < points.size(); ++j) {
      const Eigen::Vector2d placed = turn * (size * points[j]) + shift;
      if (j == 8) wings += "CURVES=2\nPOINTS=10\n";
      if (j == 18) wings += "POINTS=10\n";
      wings += format("%.4f ", rounded(placed.x())) + format("%.4f\n", rounded(placed.y()));
    }
    char id[32];
    std::snprintf(id, sizeof id, "ID=wing_%02d\n", i + 1);
    wings += id;
  }

  std::string shells = "id";
  const int k = 10 + 12 + 60;
  for (int j = 1; j <= k; ++j) {
    for (const char* axis : {"x", "y", "z"}) shells += "," + std::string(axis) + std::to_string(j);
  }
  shells += "\n";
  for (int i = 0; i < 24; ++i) {
    const double size = std::exp(std::log(10.0) + std::log(2.5) * random.uniform());
    const double height = 0.8 + 0.5 * (size - 10.0) / 15.0 + 0.05 * random.normal();
    const double squash = 1.0 + 0.1 * random.normal();
    // The dome over the unit disc: z = height (1 - r^2), stretched along y.
    const auto dome = [&](double r, double a) {
      return Eigen::Vector3d(r * std::cos(a), squash * r * std::sin(a), height * (1 - r * r));
    };
    std::vector<Eigen::Vector3d> points;
    points.push_back(dome(0, 0));
    for (int j = 0; j < 8; ++j) points.push_back(dome(1, 2 * kPi * j / 8));
    points.push_back(dome(1, 2 * kPi * 0.0625) + Eigen::Vector3d(0.1, 0.05, -0.1));
    for (Eigen::Vector3d& p : points) p += 0.02 * Eigen::Vector3d(random.normal(), random.normal(), random.normal());
    // The curve from near the apex down to near the rim, between two of
    // the rim's landmarks, unevenly.
    for (int j = 0; j < 12; ++j) {
      const double r = 0.08 + 0.88 * (j + 0.6 * (random.uniform() - 0.5) * (j > 0 && j < 11)) / 11.0;
      points.push_back(dome(r, 0.875 * kPi));
    }
    // The dome's points on jittered rings.
    for (int ring = 0; ring < 5; ++ring) {
      for (int j = 0; j < 12; ++j) {
        const double r = (ring + 1) / 6.0 + 0.04 * random.normal();
        const double a = 2 * kPi * (j + 0.5 + 0.3 * random.normal()) / 12 + 0.1 * ring;
        points.push_back(dome(r, a));
      }
    }
    Eigen::Matrix3d turn = randomRotation(random);
    const Eigen::Vector3d shift(30 * random.normal(), 30 * random.normal(), 30 * random.normal());
    char id[32];
    std::snprintf(id, sizeof id, "shell_%02d", i + 1);
    shells += id;
    for (const Eigen::Vector3d& p : points) {
      const Eigen::Vector3d placed = turn * (size * p) + shift;
      for (int c = 0; c < 3; ++c) shells += format(",%.4f", rounded(placed(c)));
    }
    shells += "\n";
  }
  std::string sliders = "# the curve down one side of the dome, landmarks 11 to 22\nbefore,slide,after\n";
  for (int j = 12; j <= 21; ++j) {
    sliders += std::to_string(j - 1) + "," + std::to_string(j) + "," + std::to_string(j + 1) + "\n";
  }
  std::string surface = "# the points over the dome\n";
  for (int j = 23; j <= k; ++j) surface += std::to_string(j) + "\n";
  if (!writeFile(folder + "/wings2d.tps", wings) || !writeFile(folder + "/shells.csv", shells) ||
      !writeFile(folder + "/shells_sliders.txt", sliders) ||
      !writeFile(folder + "/shells_surface.txt", surface)) {
    std::fprintf(stderr, "make_examples: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--missing") return writeMissing(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--faults") return writeFaults(argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--sliding") return writeSliding(argv[2]);
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: make_examples FOLDER SCRATCH | make_examples --missing FOLDER | "
                 "make_examples --faults FOLDER | make_examples --sliding FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string scratch = argv[2];
  Random random(20261207u);
  Random random2d(20261208u);
  const Eigen::MatrixXd base = baseShape();
  const Eigen::MatrixXd change = allometry();
  const double baseSize = centroidSize(base);

  std::string tps, mass, tps2d, csv;
  std::vector<std::string> covariateRows;
  std::vector<std::pair<std::string, std::string>> slicer;
  csv = "id";
  for (int j = 1; j <= kLandmarks; ++j) {
    for (const char* axis : {"x", "y", "z"}) csv += "," + std::string(axis) + std::to_string(j);
  }
  csv += "\n";
  for (int i = 0; i < kSpecimens; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "skull_%02d", i + 1);
    // Sizes spread evenly in ln between 20 and 60 mm, in random order.
    const double lnSize = std::log(20.0) + (std::log(60.0) - std::log(20.0)) * random.uniform();
    const double size = std::exp(lnSize);
    Eigen::MatrixXd shape = base + (lnSize - std::log(35.0)) * change;
    for (int j = 0; j < kLandmarks; ++j) {
      for (int c = 0; c < 3; ++c) shape(j, c) += 0.15 * random.normal();
    }
    shape *= size / baseSize;

    // Lateral view: along the skull (X) and up (Z); the pairs of left and
    // right landmarks nearly meet in it, as they do on a photograph.
    Eigen::MatrixXd side(kLandmarks, 2);
    side.col(0) = shape.col(0);
    side.col(1) = shape.col(2);
    const Eigen::Matrix2d turn =
        Eigen::Rotation2Dd(2.0 * kPi * random2d.uniform()).toRotationMatrix();
    side = side * turn.transpose();
    side.rowwise() += Eigen::RowVector2d(40.0 * random2d.normal(), 40.0 * random2d.normal());
    side = side.unaryExpr(&rounded);
    tps2d += "LM=" + std::to_string(kLandmarks) + "\n";
    for (int j = 0; j < kLandmarks; ++j) {
      tps2d += format("%.4f ", side(j, 0)) + format("%.4f\n", side(j, 1));
    }
    tps2d += "ID=" + std::string(name) + "\n";

    Eigen::MatrixXd placed = shape * randomRotation(random).transpose();
    const Eigen::RowVector3d shift(40.0 * random.normal(), 40.0 * random.normal(),
                                   40.0 * random.normal());
    placed.rowwise() += shift;
    placed = placed.unaryExpr(&rounded);

    tps += "LM3=" + std::to_string(kLandmarks) + "\n";
    for (int j = 0; j < kLandmarks; ++j) {
      for (int c = 0; c < 3; ++c) tps += format(c < 2 ? "%.4f " : "%.4f\n", placed(j, c));
    }

    std::string row = name;
    std::string points;
    for (int j = 0; j < kLandmarks; ++j) {
      for (int c = 0; c < 3; ++c) row += format(",%.4f", placed(j, c));
      points += std::string(j == 0 ? "" : ",\n") + "        {\"id\": \"" + std::to_string(j + 1) +
                "\", \"label\": \"L-" + std::to_string(j + 1) + "\", \"position\": [" +
                format("%.4f, ", placed(j, 0)) + format("%.4f, ", placed(j, 1)) +
                format("%.4f", placed(j, 2)) + "], \"positionStatus\": \"defined\"}";
    }
    csv += row + "\n";
    slicer.emplace_back(
        std::string(name) + ".mrk.json",
        "{\n  \"@schema\": \"https://raw.githubusercontent.com/slicer/slicer/master/"
        "Modules/Loadable/Markups/Resources/Schema/markups-schema-v1.0.3.json#\",\n"
        "  \"markups\": [\n    {\n      \"type\": \"Fiducial\",\n"
        "      \"coordinateSystem\": \"LPS\",\n      \"controlPoints\": [\n" +
            points + "\n      ]\n    }\n  ]\n}\n");
    char id[64];
    std::snprintf(id, sizeof id, "IMAGE=skull_%02d.ply\nID=%d\n", i + 1, i + 1);
    tps += id;
    // Body mass grows with the cube of size, with some spread.
    const std::string bodyMass =
        format("%.2f", std::pow(size / 10.0, 3.0) * std::exp(0.1 * random.normal()));
    mass += bodyMass + "\n";
    covariateRows.push_back(std::string(name) + "," + bodyMass + "," + (i % 2 == 0 ? "a" : "b") +
                            "\n");
  }

  const std::vector<std::pair<int, int>> wires = {
      {1, 2}, {2, 3}, {3, 4},  {4, 5},  {5, 6},   {1, 13}, {1, 14}, {13, 7}, {14, 8}, {7, 2},
      {8, 2}, {7, 9}, {8, 10}, {9, 11}, {10, 12}, {11, 4}, {12, 4}, {9, 6},  {10, 6}};
  std::string wire;
  for (size_t w = 0; w < wires.size(); ++w) {
    wire += std::to_string(w + 1) + " " + std::to_string(wires[w].first) + " " +
            std::to_string(wires[w].second) + "\n";
  }

  std::string covariates = "id,mass,group\n";
  for (auto row = covariateRows.rbegin(); row != covariateRows.rend(); ++row) covariates += *row;

  std::filesystem::create_directories(scratch);
  bool ok =
      writeFile(folder + "/skulls_tps.txt", tps) && writeFile(folder + "/skulls_mass.txt", mass) &&
      writeFile(folder + "/skulls_wire.txt", wire) && writeFile(folder + "/skulls2d.tps", tps2d) &&
      writeFile(scratch + "/skulls_coordinates.csv", csv) &&
      writeFile(folder + "/skulls_covariates.csv", covariates);
  std::filesystem::create_directories(folder + "/skulls_slicer");
  for (const auto& [file, text] : slicer) {
    ok = ok && writeFile(folder + "/skulls_slicer/" + file, text);
  }
  if (!ok) {
    std::fprintf(stderr, "make_examples: cannot write into %s\n", folder.c_str());
    return 1;
  }
  return 0;
}
