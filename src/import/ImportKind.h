#pragma once
// The kinds of import a batch run can do before or instead of its task, as a command file names
// them ("Import COSCALIB", "Import JCAMP", "Import MSP", "Import NETCDF"). The numbers are those
// the command file's keys stand for.
namespace kiv {

enum class ImportKind { None = 0, CosCalib = 1, Jcamp = 10, Msp = 30, Netcdf = 40 };

}  // namespace kiv
