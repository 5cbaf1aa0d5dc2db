// The optimizer benchmark: runs the search on job files and prints, per job
// and generation count, the wall time, plans per second, utilisation, sheets,
// layouts and peak memory. Every case runs in a child process of its own, so
// that its peak memory is its own. With --naive it runs the plain reference
// implementation of the same search instead, for side-by-side timing.

#include "NaiveD2Rect.h"
#include "UnitD2Rect.h"
#include "UnitD2RectDisp.h"
#include "UnitFileOpt.h"

#include <QFileInfo>
#include <QString>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Published results of the public jobs: area lower bound and best known sheet count.
const std::map<std::string, std::pair<int, int>> Known = {
    {"bw-class01-100-2.FBL", {31, 31}}, {"bw-class03-100-2.FBL", {21, 22}}, {"bw-class05-100-2.FBL", {27, 28}},
    {"bw-class07-100-2.FBL", {24, 24}}, {"bw-class08-100-2.FBL", {23, 24}}, {"bw-class10-100-2.FBL", {15, 15}},
    {"roadef-A3.FBL", {3, 0}},          {"roadef-A4.FBL", {3, 0}},          {"roadef-A5.FBL", {3, 0}},
    {"roadef-A6.FBL", {3, 0}},
};

struct Options {
    bool naive = false;
    int threads = 0;
    uint64_t seed = 1;
    std::vector<int> generations = {10};
    std::vector<std::string> jobs;
};

void RunCase(const Options& o, const std::string& path, int generations, int out)
{
    TD2RRawArr sheets;
    TD2REleArr parts;
    TD2RSchame plan;
    TD2RPrm prm;
    TRecordOnlyLists lists;
    try {
        TD2File::LoadProject(lists, QString::fromStdString(path), plan, prm, parts, sheets);
    } catch (const TFileError& e) {
        dprintf(out, "%s: %s\n", path.c_str(), e.what());
        _exit(2);
    }
    NormalizeGrain(parts);
    prm.OptTm = generations;
    const auto start = std::chrono::steady_clock::now();
    if (o.naive) {
        TNaiveSearch search(sheets, prm, parts, o.seed);
        search.Search();
        plan = search.GetBest();
    } else {
        TD2Search search(sheets, prm, parts);
        search.SetSeed(o.seed);
        if (o.threads > 0)
            search.SetThreadCount(o.threads);
        search.Search();
        plan = search.GetBest();
    }
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const TD2Rslt r = TD2Result::BuildRslt(plan, prm, parts);
    const std::string name = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
    std::string gap = "-";
    if (auto k = Known.find(name); k != Known.end()) {
        const int best = k->second.second;
        gap = "bound " + std::to_string(k->second.first) +
              (best ? ", best " + std::to_string(best) + ", gap " + std::to_string(r.RawCount - best) : "");
    }
    long pieces = 0;
    for (const TD2REle& e : parts)
        pieces += e.Count;
    dprintf(out, "%-22s %4zu/%-5ld %5d %9.3f %10.0f %7.2f%% %6d %7zu  %s", name.c_str(), parts.size(), pieces,
            generations, wall, 30.0 * generations / wall, r.Uti * 100, r.RawCount, plan.size(), gap.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--naive") {
            o.naive = true;
        } else if (a == "--threads" && i + 1 < argc) {
            o.threads = std::atoi(argv[++i]);
        } else if (a == "--seed" && i + 1 < argc) {
            o.seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--generations" && i + 1 < argc) {
            o.generations.clear();
            for (char* p = std::strtok(argv[++i], ","); p; p = std::strtok(nullptr, ","))
                o.generations.push_back(std::atoi(p));
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr,
                         "usage: kavo_bench [--naive] [--threads N] [--seed S] [--generations 10,100] JOB.FBL...\n");
            return 2;
        } else {
            o.jobs.push_back(a);
        }
    }
    std::printf("%-22s %10s %5s %9s %10s %8s %6s %7s %9s  %s\n", "job", "types/pcs", "gens", "wall s", "plans/s", "uti",
                "sheets", "layouts", "peak MB", "known");
    std::fflush(stdout);
    int status = 0;
    for (const std::string& job : o.jobs) {
        for (int generations : o.generations) {
            int pipeFd[2];
            if (pipe(pipeFd) != 0)
                return 1;
            const pid_t pid = fork();
            if (pid == 0) {
                close(pipeFd[0]);
                RunCase(o, job, generations, pipeFd[1]);
                _exit(0);
            }
            close(pipeFd[1]);
            std::string line;
            char buf[512];
            ssize_t n;
            while ((n = read(pipeFd[0], buf, sizeof buf)) > 0)
                line.append(buf, size_t(n));
            close(pipeFd[0]);
            int wstatus = 0;
            rusage usage{};
            wait4(pid, &wstatus, 0, &usage);
            if (!WIFEXITED(wstatus) || WEXITSTATUS(wstatus) != 0) {
                std::fprintf(stderr, "%s", line.c_str());
                status = 1;
                continue;
            }
            // The line's last column comes after the memory column.
            const size_t cut = line.rfind("  ");
            std::printf("%s %9.1f  %s\n", line.substr(0, cut).c_str(), double(usage.ru_maxrss) / 1024.0,
                        line.substr(cut + 2).c_str());
            std::fflush(stdout);
        }
    }
    return status;
}
