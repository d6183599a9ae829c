"""What the Python tests share: the batch tool run on the same job, its
tables read back, and numbers compared at 17 significant digits."""
import os
import subprocess

TOOL = os.environ["QUELMORA_FT"]
DATA = os.environ["QUELMORA_TEST_DATA"]
GOLDEN = os.path.join(DATA, "golden")


def run_tool(args, check=True):
    """(exit code, standard output, standard error) of quelmora-ft."""
    p = subprocess.run([TOOL] + list(args), capture_output=True, text=True, timeout=120)
    if check and p.returncode != 0:
        raise AssertionError(f"quelmora-ft {' '.join(args)} failed: {p.stderr}")
    return p.returncode, p.stdout, p.stderr


def tool_message(args):
    """The one-line message the tool prints for a mistake, without its prefix."""
    code, _, err = run_tool(args, check=False)
    assert code == 2, (args, code, err)
    line = err.strip().splitlines()[-1]
    assert line.startswith("quelmora-ft: "), line
    return line[len("quelmora-ft: "):]


def columns(text):
    """A semicolon-separated table as [(name, [cells])], in order, empty cells left out."""
    lines = text.splitlines()
    names = [n.strip('"') for n in lines[0].split(";")[:-1]]
    cells = [[] for _ in names]
    for line in lines[1:]:
        for i, cell in enumerate(line.split(";")[: len(names)]):
            if cell.strip():
                cells[i].append(cell.strip())
    return list(zip(names, cells))


def digits17(values):
    return ["%.17g" % float(v) for v in values]
