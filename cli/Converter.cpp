#include "cli/Converter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/QOV_V2Doc.h"
#include "platform/CmdTarget.h"
#include "platform/Dialog.h"
#include "platform/File.h"
#include "platform/FrameworkIds.h"
#include "platform/FrameworkStrings.h"
#include "platform/headless/HeadlessBackend.h"
#include "platform/headless/HeadlessView.h"
#include "view/QOV_V2View.h"

namespace qov {
namespace {

// A file without a name in the temporary folder that stands in for standard
// output until the operation has written it completely: nothing is left
// behind, however the program ends. It is reached through its descriptor's
// name, which the writers take for a stream.
class StdoutSpool {
 public:
  StdoutSpool() {
    const char* dir = std::getenv("TMPDIR");
    const std::string folder = dir && *dir ? dir : "/tmp";
    m_fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (m_fd < 0) {
      std::string pattern = folder + "/qov-convert-XXXXXX";
      m_fd = mkostemp(pattern.data(), O_CLOEXEC);
      if (m_fd >= 0)
        unlink(pattern.c_str());
    }
    if (m_fd >= 0)
      m_path = "/proc/self/fd/" + std::to_string(m_fd);
  }
  ~StdoutSpool() {
    if (m_fd >= 0)
      close(m_fd);
  }
  StdoutSpool(const StdoutSpool&) = delete;
  StdoutSpool& operator=(const StdoutSpool&) = delete;

  bool ok() const { return !m_path.empty(); }
  const std::string& path() const { return m_path; }

  // Copies the spooled bytes to standard output; false with errno set.
  bool CopyToStdout() const {
    CFile file(m_path, CFile::modeRead);
    char buffer[1 << 16];
    for (;;) {
      std::size_t n = file.Read(buffer, sizeof buffer);
      if (n == 0)
        break;
      for (std::size_t done = 0; done < n;) {
        ssize_t w = write(STDOUT_FILENO, buffer + done, n - done);
        if (w < 0 && errno == EINTR)
          continue;
        if (w <= 0)
          return false;
        done += static_cast<std::size_t>(w);
      }
    }
    return true;
  }

 private:
  int m_fd = -1;
  std::string m_path;
};

class Conversion {
 public:
  Conversion(std::ostream& err, bool progress) : m_err(err), m_bProgress(progress), m_host(m_view) {
    m_view.SetHost(&m_host);
    m_view.SetDocument(&m_doc);
  }
  ~Conversion() { m_view.SetHost(nullptr); }
  Conversion(const Conversion&) = delete;
  Conversion& operator=(const Conversion&) = delete;

  ConvertExit Open(const std::string& input, const PictureReadOptions& read) {
    m_doc.m_readOptions = read;
    if (!m_doc.OnOpenDocument(input))
      return Fail(kExitBadInput, input, m_doc.GetFailureReason());
    m_doc.SetPathName(input);
    if (!m_doc.GetOpenWarningReason().empty())
      m_err << "qov-convert: " << input << ": warning: " << m_doc.GetOpenWarningReason() << '\n';
    m_view.OnInitialUpdate();
    return kExitDone;
  }

  // Empty until a step fails.
  const std::string& FailureReason() const { return m_reason; }

  ConvertExit Run(const ConvertOperation& operation, std::size_t index, std::size_t count) {
    if (m_bProgress) {
      m_err << "qov-convert: [" << index + 1 << '/' << count << "] "
            << OperationName(operation.kind) << '\n';
    }
    if (!operation.WritesFile()) {
      RunRaster(operation);
      return kExitDone;
    }
    if (operation.path != "-")
      return WriteOutput(operation, operation.path);
    StdoutSpool spool;
    if (!spool.ok())
      return Fail(kExitCannotWrite, "-",
                  std::string("cannot make a temporary file: ") + std::strerror(errno));
    ConvertExit result = WriteOutput(operation, spool.path());
    if (result == kExitDone && !spool.CopyToStdout())
      return Fail(kExitCannotWrite, "-", std::strerror(errno));
    return result;
  }

 private:
  // Gives the command's dialog the operation's answers when it opens.
  void QueueAnswer(const OperationRow& row, const ConvertOperation& operation) {
    if (row.answer) {
      m_platform.backend().QueueDialogData(
          [answer = row.answer, operation](CDialog& dlg) { answer(dlg, operation); });
    }
  }

  // A raster command that did not get done is reported; the operations
  // after it still run.
  void RunRaster(const ConvertOperation& operation) {
    const OperationRow& row = OperationRowOf(operation.kind);
    QueueAnswer(row, operation);
    const CCommandResult result = ExecuteCommand(m_view, row.command);
    if (result.m_status != CCommandResult::done)
      m_err << "qov-convert: " << row.option << ": " << Reason(result) << '\n';
  }

  ConvertExit WriteOutput(const ConvertOperation& operation, const std::string& path) {
    const OperationRow& row = OperationRowOf(operation.kind);
    if (row.command == ID_FILE_SAVE_AS) {
      if (!m_doc.OnSaveDocument(path))
        return Fail(kExitCannotWrite, operation.path, m_doc.GetFailureReason());
      return kExitDone;
    }
    QueueAnswer(row, operation);
    m_platform.backend().QueueFileDialog(path);
    const CCommandResult result = ExecuteCommand(m_view, row.command);
    if (result.m_status != CCommandResult::done)
      return Fail(kExitCannotWrite, operation.path, Reason(result));
    if (const char* warning = row.warning ? row.warning(m_doc, operation) : ""; *warning)
      m_err << "qov-convert: " << operation.path << ": " << warning << '\n';
    return kExitDone;
  }

  // The failure's line on stderr, and its reason kept for the caller: less
  // the input's name, which a caller has apart, but with an output's.
  ConvertExit Fail(ConvertExit exit, const std::string& name, const std::string& text) {
    m_err << "qov-convert: " << name << ": " << text << '\n';
    m_reason = exit == kExitBadInput ? text : name + ": " + text;
    return exit;
  }

  static std::string Reason(const CCommandResult& result) {
    switch (result.m_status) {
      case CCommandResult::disabled:
        return "the command is not available";
      case CCommandResult::cancelled:
        return "the command was cancelled";
      default:
        // The command boundary leaves the texts out when it had no memory
        // left even for them; the line still says something.
        return result.m_strReason.empty() ? reason::kCommandFailed : result.m_strReason;
    }
  }

  std::ostream& m_err;
  std::string m_reason;
  bool m_bProgress;
  ScopedHeadlessPlatform m_platform;
  CQOV_V2Doc m_doc;
  CQOV_V2View m_view;
  HeadlessViewHost m_host;
};

}  // namespace

ConvertExit RunConversion(const ConvertOptions& options, std::ostream& err, bool progress,
                          std::string& reason) {
  Conversion conversion(err, progress);
  ConvertExit result =
      conversion.Open(options.inputs.front(), {options.page, options.maxMegapixels});
  for (std::size_t i = 0; result == kExitDone && i < options.operations.size(); ++i)
    result = conversion.Run(options.operations[i], i, options.operations.size());
  reason = conversion.FailureReason();
  return result;
}

}  // namespace qov
