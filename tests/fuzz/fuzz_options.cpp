// Command lines as a user may type them for the batch tool: the input is cut
// at zero bytes into arguments. Parsed options go on to the domain and
// partition records, which must refuse whatever would trip a math
// precondition; records small enough to build quickly are built into the
// partition the tool computes with.
#include "options.h"

#include "math/domains/enumerationbase.h"
#include "math/partitions/partitionbase.h"
#include "midle/job/partitionsetup.h"

#include <QStringList>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  QStringList args;
  const char* p = reinterpret_cast<const char*>(data);
  const char* end = p + size;
  while (p < end) {
    const char* q = static_cast<const char*>(std::memchr(p, 0, size_t(end - p)));
    if (!q)
      q = end;
    args << QString::fromLocal8Bit(p, int(q - p));
    p = q + 1;
  }

  ToolOptions options;
  QString error;
  if (!parseArguments(args, options, &error)) {
    if (error.isEmpty())
      std::abort();
    return 0;
  }
  if (options.help || !options.dataFile.isEmpty())
    return 0;
  const auto domain = Job::domainRecord(options);
  const auto partition = Job::partitionRecord(options, domain, &error);
  if (!partition) {
    if (error.isEmpty())
      std::abort();
    return 0;
  }
  // Larger records only cost time here, not coverage.
  if (domain->count > 4096 || double(domain->count) * partition->nodes.size() > 2e5)
    return 0;
  std::unique_ptr<Domains::EnumerationBase<double>> math(DataHolders::createDomain(domain));
  if (!math)
    return 0;
  std::unique_ptr<Partitions::PartitionBase<double, double>> built(
      DataHolders::createPartition(partition, math.get()));
  return 0;
}
