// tarvanel-bench: how long the client is blocked by what the user does, how close that comes
// to the network's floor, and what the client itself costs. Run by scripts/bench.sh against a
// reference service it started; prints the tables and writes them as Markdown.
#include <curl/curl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/ClientCost.h"
#include "bench/Digests.h"
#include "bench/LatencyProxy.h"
#include "bench/Operations.h"
#include "bench/Report.h"

namespace {

const char* const kUsage =
    "usage: tarvanel-bench --service http://127.0.0.1:PORT [--results FILE]\n"
    "The service must hold the demo member (reminder-service --seed-demo).\n";

constexpr int kRoundTripMs = 20;
constexpr double kRoundTripGoal = 1.10;
constexpr double kClientCostGoal = 1.10;
constexpr double kMd5Goal = 0.8;
constexpr double kBase64Goal = 0.5;

int PortOf(const std::string& base) {
  const size_t colon = base.rfind(':');
  if (colon == std::string::npos || base.compare(0, 7, "http://") != 0) return -1;
  return std::atoi(base.c_str() + colon + 1);
}

size_t Discard(char*, size_t size, size_t count, void*) { return size * count; }

// Posts a form to one of the service's pages on the handle, whose cookie engine keeps the
// session; returns the answer's status.
long PostForm(CURL* easy, const std::string& url, const char* form) {
  curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy, CURLOPT_POSTFIELDS, form);
  const CURLcode code = curl_easy_perform(easy);
  long status = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
  return code == CURLE_OK ? status : 0;
}

// Gives the demo member a third device through the service's own device page, logged in as a
// person would be; the form carries every device, since a device left out of it is removed.
void AddWorkEmail(const std::string& base) {
  std::unique_ptr<CURL, void (*)(CURL*)> easy(curl_easy_init(), curl_easy_cleanup);
  const std::string url = base + "/EditDevice.aspx";
  curl_easy_setopt(easy.get(), CURLOPT_COOKIEFILE, "");
  curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &Discard);
  const long login = PostForm(easy.get(), url, "UserId=demo&Password=demo");
  const long saved = login == 303 ? PostForm(easy.get(), url,
                                             "Save=1&Address_HomeEmail=demo%40example.com"
                                             "&Address_WorkEmail=demo%40work.example.com&Address_SMS=5551234"
                                             "&Provider_SMS=Acme")
                                  : 0;
  if (saved != 200)
    throw std::runtime_error("the device page at " + url + " did not take the work e-mail device (log-in status " +
                             std::to_string(login) + ", save status " + std::to_string(saved) + ")");
}

std::string Ms(double ms) { return ms < 10 ? bench::Fixed(ms, 2) : bench::Fixed(ms, 1); }
std::string Times(double ratio) { return bench::Fixed(ratio, 2) + " x"; }

void AddOperations(bench::Report& report, const bench::OperationsResult& r, const bench::ClientCostFigures& c) {
  bench::Table t;
  t.title = "Round trips of what the user waits for";
  t.note = "Wall time of each operation through the add-in or the page, on loopback and through the latency "
           "proxy at " + std::to_string(kRoundTripMs) + " ms round trip (" + std::to_string(kRoundTripMs / 2) +
           " ms each way, one more round trip for each new connection's set-up); median of the cycles. The save "
           "ticks HomeEmail, WorkEmail and SMS in the scripted dialog; its time excludes the " + bench::Fixed(r.saveDialogMs * 1000, 0) +
           " us (median) spent inside the dialog. The first save of each cycle follows an idle pause of " +
           bench::Fixed(r.idleBeforeSaveMs / 1000.0, 1) + " s, as a save after some editing does; the service "
           "keeps an idle connection for minutes, as a production server does, so that save should find its "
           "connection still open. The second save follows at once. Each series starts with one unmeasured "
           "settings page start-up, as after earlier use. Requests, new connections and connections "
           "used are counted by the proxy (the most in one operation). The floor row is a raw libcurl POST of "
           "the same bytes as a device call, on one kept connection: what the proxy, the service and this "
           "machine give one exchange with no client around it.";
  t.header = {"operation", "requests", "new connections", "connections used", "loopback ms",
              std::to_string(kRoundTripMs) + " ms RTT ms", "wall / (requests x RTT)"};
  for (const bench::OperationFigures& f : r.operations) {
    t.rows.push_back({f.name, std::to_string(f.requests), std::to_string(f.newConnections),
                      std::to_string(f.connectionsUsed), Ms(f.directMs), Ms(f.delayedMs), Times(f.ratio)});
  }
  t.rows.push_back({"floor: one raw libcurl POST on a kept connection", "1", "0", "1", Ms(c.floorDirectMs),
                    Ms(c.floorDelayedMs), Times(c.floorDelayedMs / kRoundTripMs)});
  report.Add(t);

  const bench::OperationFigures& cold = r.operations[0];
  const bench::OperationFigures& kept = r.operations[1];
  report.AddGoal({"one TCP connection for a whole save",
                  std::to_string(cold.connectionsUsed) + " connection(s) carried the " + std::to_string(cold.requests) +
                      " requests after idle, " + std::to_string(kept.connectionsUsed) + " on a kept connection",
                  cold.connectionsUsed == 1 && kept.connectionsUsed == 1});
  // Judged apart: every operation on a connection that is already open, and the save that
  // must first set one up (a round trip no client can save).
  bool within = true;
  std::string measured;
  for (const bench::OperationFigures& f : r.operations) {
    if (&f == &cold) continue;
    within = within && f.ratio <= kRoundTripGoal;
    measured += (measured.empty() ? "" : "; ") + f.name + " " + Times(f.ratio);
  }
  const std::string goal =
      "wall time at " + std::to_string(kRoundTripMs) + " ms RTT within " + Times(kRoundTripGoal) + " (requests x RTT)";
  report.AddGoal({goal + ", connection open", measured, within});
  const std::string setUp = cold.newConnections == 0
                                ? " on the connection kept through the pause"
                                : ", of which " + Times(1.0 / static_cast<double>(cold.requests)) +
                                      " is a new connection's set-up round trip";
  report.AddGoal({goal + ", save after idle", cold.name + " " + Times(cold.ratio) + setUp,
                  cold.ratio <= kRoundTripGoal});
  for (const std::string& p : r.problems) report.AddRemark("problem during the run: " + p);
  // Nagle on either side would add a delayed-ACK wait to exchanges on a reused connection.
  report.AddRemark(std::string("libcurl ") + curl_version_info(CURLVERSION_NOW)->version +
                   " sets TCP_NODELAY on its sockets by default (since 7.50.2); the reference service sets it too.");
}

void AddClientCost(bench::Report& report, const bench::ClientCostFigures& c) {
  bench::Table t;
  t.title = "The client's own cost per operation";
  t.note = "One GetOneMemberDevice through falcrest::WebService (envelope, new request object, shared keep-alive "
           "connection, XML reading, record) against a plain libcurl POST of the same request bytes and headers "
           "on one kept easy handle, to the same service on loopback, alternating, " +
           std::to_string(c.iterations) + " iterations each. The library's extra is the median of the differences "
           "of back-to-back pairs, and the ratio is (raw median + extra) / raw median. The request body is " +
           std::to_string(c.requestBytes) + " bytes.";
  t.header = {"path", "median us per call", "extra us per call", "ratio"};
  t.rows.push_back(
      {"WebService.GetOneMemberDevice", bench::Fixed(c.libraryUs, 1), bench::Fixed(c.extraUs, 1), Times(c.ratio)});
  t.rows.push_back({"raw libcurl keep-alive POST", bench::Fixed(c.rawUs, 1), "0", "1.00 x"});
  report.Add(t);
  report.AddGoal({"library overhead per operation within " + Times(kClientCostGoal) + " the raw libcurl POST",
                  Times(c.ratio), c.ratio <= kClientCostGoal});
}

void AddDigests(bench::Report& report, const std::vector<bench::DigestFigures>& digests) {
  bench::Table t;
  t.title = "MD5 and Base64 against OpenSSL";
  t.note = "Google Benchmark, median of 9 repetitions run in random order (random interleaving), in the same run. OpenSSL baselines: MD5() and "
           "EVP_EncodeBlock (into a buffer allocated once). Base64 lengths are multiples of 3, so Encode64 adds no "
           "padding to its argument and the same argument serves every call: the figure measures encoding (with "
           "Encode64's CR LF every 72 characters and its result string), not the growth of the argument.";
  t.header = {"routine", "input", "library MB/s", "OpenSSL MB/s", "library / OpenSSL"};
  for (const bench::DigestFigures& d : digests)
    t.rows.push_back({d.what, d.size, bench::Fixed(d.libraryMBs, 0), bench::Fixed(d.opensslMBs, 0), Times(d.ratio)});
  report.Add(t);
  for (const bench::DigestFigures& d : digests) {
    if (d.size.rfind("1 MiB", 0) == 0 && d.what.find("DigestBytes") != std::string::npos)
      report.AddGoal({"MD5 at least " + Times(kMd5Goal) + " OpenSSL on 1 MiB", Times(d.ratio), d.ratio >= kMd5Goal});
  }
  for (const bench::DigestFigures& d : digests) {
    if (d.what.rfind("Base64", 0) == 0)
      report.AddGoal({"Base64 encode at least " + Times(kBase64Goal) + " OpenSSL (" + d.size + ")", Times(d.ratio),
                      d.ratio >= kBase64Goal});
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string service;
  std::string results;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if ((arg == "--service" || arg == "--results") && i + 1 < argc) {
      (arg == "--service" ? service : results) = argv[++i];
    } else {
      std::cerr << kUsage;
      return 2;
    }
  }
  const int servicePort = PortOf(service);
  if (servicePort <= 0) {
    std::cerr << kUsage;
    return 2;
  }

  try {
    // The add-in and the page read their settings from this registry file only.
    char folder[] = "/tmp/tarvanel-bench.XXXXXX";
    if (!mkdtemp(folder)) throw std::runtime_error("no temporary folder for the registry file");
    const std::string registry = std::string(folder) + "/registry.reg";
    setenv("FALCREST_REGISTRY", registry.c_str(), 1);

    curl_global_init(CURL_GLOBAL_DEFAULT);
    AddWorkEmail(service);

    bench::LatencyProxy proxy(servicePort);
    const std::string proxyBase = "http://127.0.0.1:" + std::to_string(proxy.Start());
    bench::Report report;

    std::cerr << "bench: round trips of save, open, settings start-up, delete...\n";
    bench::OperationsSetup setup;
    setup.serviceBase = service;
    setup.proxyBase = proxyBase;
    setup.proxy = &proxy;
    setup.roundTrip = std::chrono::milliseconds(kRoundTripMs);
    const bench::OperationsResult operations = bench::MeasureOperations(setup);

    std::cerr << "bench: client cost per operation...\n";
    const bench::ClientCostFigures cost = bench::MeasureClientCost(service, proxyBase, proxy, 2000, setup.roundTrip);
    AddOperations(report, operations, cost);
    AddClientCost(report, cost);

    std::cerr << "bench: MD5 and Base64...\n";
    AddDigests(report, bench::MeasureDigests());

    proxy.Stop();
    std::remove(registry.c_str());
    std::remove((registry + ".lock").c_str());
    rmdir(folder);

    report.Print(std::cout);
    if (!results.empty()) {
      std::ofstream out(results);
      out << report.Markdown("scripts/bench.sh");
      if (!out) throw std::runtime_error("cannot write " + results);
      std::cout << "\nwritten: " << results << "\n";
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "tarvanel-bench: " << e.what() << "\n";
    return 1;
  }
}
