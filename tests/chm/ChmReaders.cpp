#include "ChmReaders.h"

#include <chm_lib.h>
#include <mspack.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "chm/ByteWriter.h"

namespace tarnbook::chmtest {

namespace {

int collect(chmFile* h, chmUnitInfo* ui, void* context) {
    auto* out = static_cast<ReadBack*>(context);
    std::string data(static_cast<std::size_t>(ui->length), '\0');
    if (ui->length > 0) {
        const LONGINT64 got =
            chm_retrieve_object(h, ui, reinterpret_cast<unsigned char*>(data.data()), 0,
                                static_cast<LONGINT64>(ui->length));
        if (got != static_cast<LONGINT64>(ui->length)) {
            out->error = std::string("chmlib cannot read ") + ui->path;
            return CHM_ENUMERATOR_FAILURE;
        }
    }
    out->entries[ui->path] = std::move(data);
    return CHM_ENUMERATOR_CONTINUE;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

ReadBack readWithChmlib(const std::string& nativePath) {
    ReadBack r;
    chmFile* h = chm_open(nativePath.c_str());
    if (!h) {
        r.error = "chmlib cannot open " + nativePath;
        return r;
    }
    if (!chm_enumerate(h, CHM_ENUMERATE_ALL, collect, &r) && r.error.empty())
        r.error = "chmlib stopped enumerating";
    // Every name must also be found by a lookup through the index.
    for (const auto& [name, data] : r.entries) {
        chmUnitInfo ui{};
        if (chm_resolve_object(h, name.c_str(), &ui) != CHM_RESOLVE_SUCCESS ||
            ui.length != data.size()) {
            r.error = "chmlib cannot look up " + name;
            break;
        }
    }
    chm_close(h);
    return r;
}

ReadBack readWithMspack(const std::string& nativePath) {
    ReadBack r;
    struct Closer {
        void operator()(mschm_decompressor* d) const { mspack_destroy_chm_decompressor(d); }
    };
    std::unique_ptr<mschm_decompressor, Closer> d(mspack_create_chm_decompressor(nullptr));
    if (!d) {
        r.error = "libmspack cannot start";
        return r;
    }
    mschmd_header* chm = d->open(d.get(), nativePath.c_str());
    if (!chm) {
        r.error = "libmspack cannot open " + nativePath + " (error " +
                  std::to_string(d->last_error(d.get())) + ")";
        return r;
    }
    const std::string temp = nativePath + ".mspack-entry";
    for (mschmd_file* lists[] = {chm->files, chm->sysfiles}; mschmd_file * f : lists) {
        for (; f; f = f->next) {
            if (d->extract(d.get(), f, temp.c_str()) != MSPACK_ERR_OK) {
                r.error = std::string("libmspack cannot extract ") + f->filename + " (error " +
                          std::to_string(d->last_error(d.get())) + ")";
                break;
            }
            r.entries[f->filename] = slurp(temp);
            mschmd_file found{};
            if (d->fast_find(d.get(), chm, f->filename, &found, sizeof(found)) != MSPACK_ERR_OK ||
                found.section != f->section || found.offset != f->offset ||
                found.length != f->length) {
                r.error = std::string("libmspack's index lookup misses ") + f->filename;
                break;
            }
        }
        if (!r.error.empty()) break;
    }
    std::remove(temp.c_str());
    d->close(d.get(), chm);
    return r;
}

std::string withoutFreeSpace(std::string btree) {
    constexpr std::size_t kHeader = 76, kBlock = 2048;
    for (std::size_t at = kHeader; at + kBlock <= btree.size(); at += kBlock) {
        const std::size_t free = chm::getU16(btree, at);
        if (free <= kBlock) std::fill_n(btree.begin() + (at + kBlock - free), free, '\0');
    }
    return btree;
}

}  // namespace tarnbook::chmtest
