#include "GuideRunner.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>

#include "LibraryFiles.h"
#include "TestSupport.h"
#include "base/Format.h"
#include "features/FeatureDefinitionSet.h"
#include "import/MemoryImport.h"
#include "import/TextImport.h"
#include "library/Bib.h"
#include "matrix/Matrix.h"

namespace kiv::guide {

namespace {

using test::ReadBytes;
using test::WriteBytes;

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        if (!part.empty()) parts.push_back(part);
    }
    return parts;
}

std::vector<std::string> Lines(const std::string& text) { return Split(text, '\n'); }

// A number as a reader writes it down: at most four decimals, no trailing zeros.
std::string Compact(double value)
{
    std::string text = Format("%.4f", value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string FromHex(const std::string& text)
{
    std::string bytes;
    std::istringstream in(text);
    std::string pair;
    while (in >> pair) bytes.push_back(static_cast<char>(std::stoi(pair, nullptr, 16)));
    return bytes;
}

std::string ToHex(const std::string& bytes)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        text += Format("%02x", static_cast<unsigned char>(bytes[i]));
        text += (i % 16 == 15 || i + 1 == bytes.size()) ? "\n" : " ";
    }
    return text;
}

// Text files as the guide shows them: CR LF as a plain line end.
std::string AsShown(std::string bytes)
{
    std::string text;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.push_back(bytes[i]);
    }
    if (!text.empty() && text.back() != '\n') text += "[no line end at the end]\n";
    return text;
}

// One spectrum per row, column m = mass m; the columns run to the highest mass of all spectra.
CMatrix SpectraMatrix(const std::vector<GuideBlock>& blocks, const std::vector<std::string>& names, std::string& error)
{
    std::vector<std::vector<std::pair<int, double>>> spectra;
    int highest = 0;
    for (const std::string& name : names) {
        const GuideBlock* block = FindBlock(blocks, "kiv-spectrum", "name", name);
        if (!block) {
            error += "no kiv-spectrum named " + name + "\n";
            continue;
        }
        std::istringstream in(block->text);
        std::vector<std::pair<int, double>> peaks;
        int mass = 0;
        double intensity = 0;
        while (in >> mass >> intensity) {
            peaks.emplace_back(mass, intensity);
            highest = std::max(highest, mass);
        }
        spectra.push_back(peaks);
    }
    CMatrix matrix(static_cast<int>(spectra.size()), highest);
    for (size_t i = 0; i < spectra.size(); ++i) {
        for (auto [mass, intensity] : spectra[i]) matrix.Set(static_cast<int>(i) + 1, mass, intensity);
    }
    return matrix;
}

std::string PeakText(const CMassSpectrum& spectrum)
{
    std::string text;
    // Peaks of intensity 0 (layouts that list every mass) are left out.
    auto add = [&text](double mass, double intensity) {
        if (intensity > 0) text += " " + Compact(mass) + ":" + Compact(intensity);
    };
    if (spectrum.isVector) {
        for (int m = 1; m <= spectrum.vector.Cols(); ++m) {
            add(m, spectrum.vector.Get(1, m));
        }
    } else {
        for (int p = 1; p <= spectrum.peaks.Cols(); ++p) add(spectrum.peaks.Get(1, p), spectrum.peaks.Get(2, p));
    }
    return text;
}

// The parts of a list that are present, joined by ", ".
std::string Joined(const std::vector<std::string>& parts)
{
    std::string text;
    for (const std::string& part : parts) {
        if (part.empty()) continue;
        text += (text.empty() ? "" : ", ") + part;
    }
    return text;
}

std::string NameFields(const CBibName& name)
{
    return Joined({name.cas != 0 ? Format("CAS %d", name.cas) : "",
                   name.formula.empty() ? "" : "formula \"" + name.formula + "\"",
                   name.mw != 0 ? "MW " + Compact(name.mw) : "",
                   name.origin.empty() ? "" : "origin \"" + name.origin + "\"",
                   name.originNumber != 0 ? Format("origin number %d", name.originNumber) : ""});
}

std::string RecordText(const CBibRecord& record)
{
    std::string text = Format("block ID %d: \"%s\"\n", record.id, record.name.name.c_str());
    const std::string fields = NameFields(record.name);
    if (!fields.empty()) text += "  " + fields + "\n";
    const CMassSpectrum& spectrum = record.spectrum;
    const std::string times = Joined({spectrum.retentionTime != 0 ? "RT " + Compact(spectrum.retentionTime) : "",
                                      spectrum.retentionIndex != 0 ? "RI " + Compact(spectrum.retentionIndex) : ""});
    if (!times.empty()) text += "  " + times + "\n";
    if (!record.molecule.empty) {
        text += Format("  structure %s: %d atoms, %d bonds\n", record.molecule.Formula().c_str(),
                       record.molecule.atomCount, record.molecule.bondCount);
    }
    if (!spectrum.empty) {
        text += Format("  base peak %s, TIC %d, peaks", Compact(spectrum.basePeakMass).c_str(), spectrum.tic) +
                PeakText(spectrum) + "\n";
    }
    return text;
}

std::string LibraryText(CBib& bib)
{
    std::string text = Format("library \"%s\", type \"%s\", %d blocks\n", bib.header.title.c_str(),
                              bib.header.typ.c_str(), bib.header.blockCount);
    if (bib.header.vector.Cols() > 0) {
        text += "  header vector:";
        for (int j = 1; j <= bib.header.vector.Cols(); ++j) text += " " + Compact(bib.header.vector.Get(1, j));
        text += "\n";
    }
    for (int b = 1; b <= bib.header.blockCount; ++b) {
        bib.SelectBlock(b, SpectrumReading::AsStored);
        text += RecordText(bib.record);
    }
    return text;
}

std::optional<TextImportFormat> TextFormatOf(const std::string& format)
{
    if (format == "jcamp") return TextImportFormat::Jcamp;
    if (format == "table") return TextImportFormat::Table;
    if (format == "transpec") return TextImportFormat::Transpec;
    if (format == "structures") return TextImportFormat::Structures;
    return std::nullopt;
}

// The bytes of an import's messages and outcome, before the library.
std::string MessagesText(const std::vector<std::string>& messages)
{
    std::string text;
    for (const std::string& message : messages) text += "! " + message + "\n";
    return text;
}

std::string WithoutFolder(std::string text, const std::string& folder)
{
    for (size_t pos = text.find(folder); pos != std::string::npos; pos = text.find(folder, pos)) {
        text.erase(pos, folder.size());
    }
    return text;
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

void RunCommandFileIn(const std::vector<GuideBlock>& blocks, const GuideBlock& example, const std::string& folder,
                      const std::string& program, int& status, std::set<std::string>& done)
{
    const std::string name = example.Attribute("example");
    if (!done.insert(name).second) return;
    for (const std::string& needed : Split(example.Attribute("needs"), ',')) {
        const GuideBlock* before = FindBlock(blocks, "kiv-command", "example", needed);
        if (before) RunCommandFileIn(blocks, *before, folder, program, status, done);
    }
    const std::string commandFile = "cmd-" + name + ".txt";
    WriteBytes(folder + "/" + commandFile, example.text);
    const std::string shell = "cd " + Quoted(folder) + " && " + Quoted(program) + " " + commandFile + " 2> stderr.txt";
    const int result = std::system(shell.c_str());
    status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
}

}  // namespace

void WriteGuideFiles(const std::vector<GuideBlock>& blocks, const std::string& folder)
{
    for (const GuideBlock* block : BlocksOfKind(blocks, "kiv-file")) {
        const std::string bytes = block->Attribute("encoding") == "hex" ? FromHex(block->text) : block->text;
        WriteBytes(folder + "/" + block->Attribute("name"), bytes);
    }
}

std::string RunFeatureExample(const std::vector<GuideBlock>& blocks, const GuideBlock& example,
                              const std::string& folder)
{
    std::string error;
    const std::vector<std::string> spectrumNames = Split(example.Attribute("spectrum"), ',');
    CMatrix spectra = SpectraMatrix(blocks, spectrumNames, error);
    if (!error.empty()) return error;

    // Through a definition file, as every caller of the engine reads definitions.
    const std::string definitions = folder + "/" + example.Attribute("example") + "-definitions.txt";
    WriteBytes(definitions, example.text);
    FeatureDefinitionSet set;
    set.definitionFile = definitions;
    test::CRecordingReporter reporter;
    set.LoadDefinitions();
    set.featureQuantisation = std::atoi(example.Attribute("round").c_str());
    set.ComputeFeatures(spectra, 0);

    std::string text = MessagesText(reporter.messages);
    for (int j = 1; j <= set.featureCount; ++j) {
        text += Format("%-30s", set.names[static_cast<size_t>(j - 1)].c_str());
        for (int i = 1; i <= set.features.Rows(); ++i) text += Format(" %9.4f", set.features.Get(i, j));
        text += "\n";
    }
    return text;
}

std::string RunImportExample(const GuideBlock& example, const std::string& folder)
{
    std::vector<std::string> files;
    for (const std::string& file : Lines(example.text)) files.push_back(folder + "/" + file);
    const std::string format = example.Attribute("format");
    test::CRecordingReporter reporter;
    CBib bib;
    bool read = false;
    if (format == "jc") {
        read = !files.empty() && ImportJc(bib, files.front());
    } else if (format == "coscalib") {
        read = ImportCosCalib(bib, files);
    } else if (format == "masslib") {
        read = ImportMassLib(bib, files);
    } else if (const std::optional<TextImportFormat> text = TextFormatOf(format)) {
        const std::string path = folder + "/" + example.Attribute("example") + ".ssd";
        read = bib.NewLibrary(example.Attribute("example"), "MS", path) && ImportTextFiles(bib, files, *text).completed;
        test::OpenTestLibrary(bib, path);
    } else {
        return "unknown import format " + format + "\n";
    }
    std::string text = MessagesText(reporter.messages);
    if (!read) text += "(the import ended early)\n";
    // Spectra named by their file's path show the names the example gave.
    return WithoutFolder(text + LibraryText(bib), folder + "/");
}

std::string RunCommandExample(const std::vector<GuideBlock>& blocks, const GuideBlock& example,
                              const std::string& expected, const std::string& folder, const std::string& program)
{
    int status = -1;
    std::set<std::string> done;
    RunCommandFileIn(blocks, example, folder, program, status, done);
    std::string text = Format("exit status %d\n", status);
    for (const std::string& line : Lines(expected)) {
        if (line.compare(0, 3, "== ") != 0) continue;
        text += line + "\n";
        std::string file = line.substr(3);
        const bool hex = file.size() > 6 && file.compare(file.size() - 6, 6, " (hex)") == 0;
        if (hex) file.erase(file.size() - 6);
        const std::string path = folder + "/" + (file == "stderr" ? "stderr.txt" : file);
        if (!std::filesystem::exists(path)) {
            text += "[missing]\n";
            continue;
        }
        const std::string bytes = ReadBytes(path);
        text += hex ? ToHex(bytes) : AsShown(bytes);
    }
    return text;
}

}  // namespace kiv::guide
