"""The per-page rows of a run, summed per condition into markdown tables."""

import statistics

COLUMNS = (
    "Tool | Pages | Coverage | Precision | Doubling | Entities/source | Lines | Dashes "
    "| Circles | Arcs | P95 mm | Bytes/m | Extents % | CPU s | Wall s | Peak MB"
)


def csv_fields(rows):
    fields = []
    for row in rows:
        fields += [k for k in row if k not in fields]
    return fields


def _ratio(rows, num, den, fmt="{:.3f}"):
    total = sum(r[den] for r in rows)
    return fmt.format(sum(r[num] for r in rows) / total) if total else "–"


def _share(rows, name):
    n = sum(r[f"{name}_n"] for r in rows)
    return f"{100 * sum(r[f'{name}_ok'] for r in rows) / n:.0f} % of {n}" if n else "–"


def _median(rows, key, fmt):
    values = [r[key] for r in rows if r.get(key) is not None]
    return fmt.format(statistics.median(values)) if values else "–"


def _row(tool, rows):
    scored = [r for r in rows if "source_mm" in r]
    failed = len(rows) - len(scored)
    pages = f"{len(scored)}" + (f" ({failed} failed)" if failed else "")
    if not scored:
        return f"| {tool} | {pages} |" + " – |" * 14
    metres = sum(r["source_mm"] for r in scored) / 1000
    cells = [
        tool,
        pages,
        _ratio(scored, "covered_mm", "source_mm"),
        _ratio(scored, "precise_mm", "output_mm"),
        _ratio(scored, "output_mm", "source_mm", "{:.2f}"),
        _ratio(scored, "entities_out", "entities_source", "{:.2f}"),
        _share(scored, "lines"),
        _share(scored, "dashes"),
        _share(scored, "circles"),
        _share(scored, "arcs"),
        _median(scored, "p95_mm", "{:.3f}"),
        f"{sum(r['bytes'] for r in scored) / metres:.0f}",
        _median(scored, "extent_error_pct", "{:.2f}"),
    ]
    if "cpu_s" in scored[0]:
        cells += [
            f"{sum(r['cpu_s'] for r in scored):.2f}",
            f"{sum(r['wall_s'] for r in scored):.2f}",
            f"{max(r['peak_bytes'] for r in scored) / 2**20:.0f}",
        ]
    else:
        cells += ["–"] * 3
    return "| " + " | ".join(cells) + " |"


def markdown(rows):
    """A table per condition, a row per tool."""
    out = []
    conditions = sorted({(r["condition"], r["dpi"], r["pen"]) for r in rows})
    for condition, dpi, pen in conditions:
        mine = [r for r in rows if (r["condition"], r["dpi"], r["pen"]) == (condition, dpi, pen)]
        out += [f"### {condition}, {dpi} dpi, pen {pen} mm", "", "| " + COLUMNS + " |", "|" + "---|" * 16]
        for tool in dict.fromkeys(r["tool"] for r in mine):
            tool_rows = [r for r in mine if r["tool"] == tool]
            if all(r.get("status") == "missing" for r in tool_rows):
                out.append(f"| {tool} | option --dxf-vectorize missing |" + " |" * 14)
            else:
                out.append(_row(tool, tool_rows))
        out.append("")
    return "\n".join(out)
