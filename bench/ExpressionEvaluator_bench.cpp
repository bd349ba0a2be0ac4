// The formula evaluator beside muparser on the forms the parameter engine
// evaluates. muparser parses and evaluates in every iteration (SetExpr, then
// Eval), as the evaluator does; plain values are bound as its variables and
// computed definitions are written out in place. Both sides must agree on
// every value before anything is timed. After the timings the program
// prints, per form, the evaluator's time over muparser's.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "wizard/frame/engine/ExpressionEvaluator.h"

namespace {

struct Form {
  const char* name;
  std::string definitions;  // the evaluator's
  std::string expression;
  std::string muExpression;
  std::vector<std::pair<std::string, double>> muVariables;
};

// A product of 20 parameters: ten given, ten computed from them.
const char* const kProductDefinitions =
    "L=1000;V=600;S=100;DN=15;T=2;CT=3;CM=1;P=50;Q=0.8;N=1.3;"
    "d=DN+2*T;r=d/2;A=L-2*S;B=V-S;C=A/2;E=B*Q;F=r*r*pi();G=CT*CM+1;H=V-2*r;K=sqrt(A*A+B*B);";

std::vector<Form> Forms() {
  const std::vector<std::pair<std::string, double>> product = {
      {"L", 1000}, {"V", 600}, {"S", 100}, {"DN", 15}, {"T", 2},
      {"CT", 3},   {"CM", 1},  {"P", 50},  {"Q", 0.8}, {"N", 1.3}};
  // d, r, A, B, E, F, G, K written out.
  const std::string r = "((DN+2*T)/2)";
  const std::string a = "(L-2*S)";
  const std::string b = "(V-S)";
  const std::string mu = "(" + a + "-2*" + r + ")*sin(30*_pi/180)+sqrt(" + a + "*" + a + "+" + b + "*" + b +
                         ")/2-(" + b + "*Q)*cos(45*_pi/180)+(" + r + "*" + r + "*_pi)/100+(CT*CM+1)*P";
  return {
      {"precedence 1+2*3", "", "1+2*3;", "1+2*3", {}},
      {"precedence 10-2*(1+1)*2", "", "10-2*(1+1)*2;", "10-2*(1+1)*2", {}},
      {"degrees sin(30R)", "", "sin(30R);", "sin(30*_pi/180)", {}},
      {"variables a+(b*c)*d", "a=1;b=2;c=3;d=4;", "a+(b*c)*d;", "a+(b*c)*d",
       {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 4}}},
      {"nested definitions A", "r=50;L=1000;H=L-100;A=2*r+L;", "A;", "(2*r+L)", {{"r", 50}, {"L", 1000}}},
      {"product formula, 20 parameters", kProductDefinitions,
       "(A-2*r)*sin(30R)+K/2-E*cos(45R)+F/100+G*P;", mu, product},
  };
}

double Evaluate(const Form& form, int& code) {
  std::string definitions = form.definitions;
  std::string expression = form.expression;
  std::string output;
  double result = 0.0;
  code = EvaluateExpression(definitions, expression, output, result, kEvaluationDepth);
  return result;
}

// A parser with the form's variables bound to storage of its own.
struct MuParser {
  explicit MuParser(const Form& form) : values(form.muVariables.size()) {
    for (size_t i = 0; i < values.size(); ++i) {
      values[i] = form.muVariables[i].second;
      parser.DefineVar(form.muVariables[i].first, &values[i]);
    }
  }
  double Evaluate(const std::string& expression) {
    parser.SetExpr(expression);
    return parser.Eval();
  }
  std::vector<double> values;
  mu::Parser parser;
};

// Collects the mean real time of every run by name, printing as usual.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration) times[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Form> forms = Forms();
  for (const Form& form : forms) {
    int code = 0;
    const double ours = Evaluate(form, code);
    MuParser mu(form);
    double theirs = 0.0;
    try {
      theirs = mu.Evaluate(form.muExpression);
    } catch (const mu::Parser::exception_type& e) {
      std::fprintf(stderr, "%s: muparser: %s\n", form.name, e.GetMsg().c_str());
      return 1;
    }
    if (code != 0 || std::fabs(ours - theirs) > 1e-9 * std::fmax(1.0, std::fabs(theirs))) {
      std::fprintf(stderr, "%s: the evaluator gives %.17g (code %d), muparser %.17g\n", form.name, ours, code,
                   theirs);
      return 1;
    }
  }

  for (const Form& form : forms) {
    benchmark::RegisterBenchmark((std::string("Evaluator/") + form.name).c_str(), [&form](benchmark::State& state) {
      for (auto _ : state) {
        int code = 0;
        benchmark::DoNotOptimize(Evaluate(form, code));
      }
    });
    benchmark::RegisterBenchmark((std::string("muparser/") + form.name).c_str(), [&form](benchmark::State& state) {
      MuParser mu(form);
      for (auto _ : state) benchmark::DoNotOptimize(mu.Evaluate(form.muExpression));
    });
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\nEvaluator time / muparser time (target: at most 1.5)\n");
  for (const Form& form : forms) {
    const auto ours = reporter.times.find(std::string("Evaluator/") + form.name);
    const auto theirs = reporter.times.find(std::string("muparser/") + form.name);
    if (ours == reporter.times.end() || theirs == reporter.times.end()) continue;
    std::printf("  %-32s %8.0f ns  %8.0f ns  %5.2f\n", form.name, ours->second, theirs->second,
                ours->second / theirs->second);
  }
  return 0;
}
