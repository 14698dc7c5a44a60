#include "cli/Operations.h"

#include <array>
#include <charconv>

#include "export/VectorScriptDlg.h"
#include "image/DibResolution.h"
#include "image/QOV_V2Doc.h"
#include "platform/FrameworkIds.h"
#include "raster/ThresholdDlg.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "vector/VectorizeDlg.h"

namespace qov {
namespace {

using Op = ConvertOperation;
using Arg = OperationArgument;

void AnswerThreshold(CDialog& dlg, const ConvertOperation& operation) {
  dynamic_cast<CThresholdDlg&>(dlg).m_nThreshold = operation.percent;
}

// The dialog's first choice (1) leaves near-white colours out; 0 writes all.
void AnswerVectorScript(CDialog& dlg, const ConvertOperation&) {
  dynamic_cast<CVectorScriptDlg&>(dlg).m_nColorOption = 1;
}

void AnswerVectorScriptAll(CDialog& dlg, const ConvertOperation&) {
  dynamic_cast<CVectorScriptDlg&>(dlg).m_nColorOption = 0;
}

// The vectorizer's settings; a 0 is measured from the picture, as in its
// dialog.
constexpr OperationParameter kVectorizeParameters[] = {
    {"dpi", "N", 0, 100000, 0, "the picture's resolution (default: the file's own)"},
    {"vector-threshold", "P", 0, 100, 50, "percent below which a pixel is ink (default 50)"},
    {"max-pen", "MM", 0, 1000, 2, "wider ink is an area, outlined (default 2)"},
    {"tolerance", "MM", 0, 1000, 0, "how far a line may leave the ink (default: pen / 4)"},
    {"speck", "MM2", 0, 1000000, 0, "smaller dots are left out (default: pen squared)"},
};

void AnswerVectorize(CDialog& dlg, const ConvertOperation& operation) {
  VectorizeParams& params = dynamic_cast<CVectorizeDlg&>(dlg).m_params;
  params.dpi = operation.Parameter("dpi");
  params.threshold = static_cast<int>(operation.Parameter("vector-threshold"));
  params.maxPenMm = operation.Parameter("max-pen");
  params.toleranceMm = operation.Parameter("tolerance");
  params.speckMm2 = operation.Parameter("speck");
}

const char* WarnOfAssumedSize(const CQOV_V2Doc& doc, const ConvertOperation& operation) {
  const bool known = operation.Parameter("dpi") > 0 || GetDibResolution(doc.m_hDib).Known();
  return known ? "" : reason::kNoResolution;
}

constexpr std::array<OperationRow, Op::kKindCount> kOperations{{
    {Op::Threshold, "--threshold", ID_BINARIZE, Arg::Percent, AnswerThreshold,
     "simple binarization at P percent (0 to 100)"},
    {Op::Outline, "--outline", ID_OUTLINE, Arg::None, nullptr,
     "reduce black areas to their outlines"},
    {Op::Dither1, "--dither1", ID_DITHER1, Arg::None, nullptr,
     "3 x 3 ordered dither, black and white"},
    {Op::Dither2, "--dither2", ID_DITHER2, Arg::None, nullptr,
     "2 x 2 ordered dither, black, grey and white"},
    {Op::ErrorDiffusion, "--error-diffusion", ID_ERROR_DIFFUSION, Arg::None, nullptr,
     "one-dimensional error diffusion"},
    {Op::SaveBmp, "--save-bmp", ID_FILE_SAVE_AS, Arg::File, nullptr,
     "save the current picture as a 24-bit .bmp"},
    {Op::DxfCrosses, "--dxf-crosses", ID_DOTS_TO_CROSSES, Arg::File, nullptr,
     "DXF: every dark pixel as a cross"},
    {Op::DxfLines, "--dxf-lines", ID_DOTS_TO_LINES, Arg::File, nullptr,
     "DXF: touching dark pixels joined by lines"},
    {Op::DxfTrace, "--dxf-trace", ID_AUTO_TRACE, Arg::File, nullptr,
     "DXF: outlines traced into runs (auto trace)"},
    {Op::VectorScript, "--vectorscript", ID_SAVE_VECTORSCRIPT, Arg::File, AnswerVectorScript,
     "VectorScript, near-white colours left out"},
    {Op::VectorScriptAll, "--vectorscript-all", ID_SAVE_VECTORSCRIPT, Arg::File,
     AnswerVectorScriptAll, "VectorScript, every colour written"},
    {Op::DxfVectorize, "--dxf-vectorize", ID_VECTORIZE, Arg::File, AnswerVectorize,
     "DXF: centerlines as lines, arcs and circles in mm", kVectorizeParameters, WarnOfAssumedSize},
}};

constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < kOperations.size(); ++i) {
    if (kOperations[i].kind != static_cast<Op::Kind>(i))
      return false;
  }
  return true;
}
static_assert(InKindOrder(), "one row for each kind, in kind order");

constexpr std::array<UINT, 0> kWindowOnlyCommands{};

// The shortest text that reads back as `value`.
std::string NumberText(double value) {
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, value);
  return std::string(text, ec == std::errc() ? end : text);
}

}  // namespace

bool ConvertOperation::WritesFile() const {
  return OperationRowOf(kind).WritesFile();
}

double ConvertOperation::Parameter(const std::string& name) const {
  for (const ParameterValue& parameter : parameters) {
    if (parameter.name == name)
      return parameter.value;
  }
  return 0;
}

std::span<const OperationRow> OperationTable() {
  return kOperations;
}

const OperationRow& OperationRowOf(ConvertOperation::Kind kind) {
  return kOperations.at(static_cast<std::size_t>(kind));
}

std::span<const UINT> WindowOnlyCommands() {
  return kWindowOnlyCommands;
}

std::vector<std::string> OperationArguments(const ConvertOperation& operation,
                                            const std::string& path) {
  std::vector<std::string> args;
  for (const ConvertOperation::ParameterValue& parameter : operation.parameters) {
    args.push_back("--" + parameter.name);
    args.push_back(NumberText(parameter.value));
  }
  const OperationRow& row = OperationRowOf(operation.kind);
  args.push_back(row.option);
  if (row.argument == OperationArgument::Percent)
    args.push_back(std::to_string(operation.percent));
  else if (row.argument == OperationArgument::File)
    args.push_back(path);
  return args;
}

}  // namespace qov
