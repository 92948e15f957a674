# bash completion for marrowlintide. Every option of `marrowlintide --help` is in one of
# the two lists below; tests/cli/docs_test.py checks them against --help.

_marrowlintide() {
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}

    # Options that take a value, and options that stand alone.
    local with_value="--db --odbc --dsn --sql --graphic-columns --csv --csv-types --csv-delimiter
        --csv-encoding -o --output --max-records --rows-per-file
        --page-size --page-width --page-height --layout --fields-width --fields-alignment
        --fields-caption --fields-format --orientation --title --odd-color --even-color --caption-color --style --header --footer
        --font --font-bold --fallback-font
        --mail-to --mail-subject --mail-body"
    local flags="--csv-no-header --no-caption --blank-if-zero --oem --classic --no-compress --open -q --quiet -h --help"

    if [[ $COMP_CWORD -eq 1 ]]; then
        mapfile -t COMPREPLY < <(compgen -W "report --help --version" -- "$cur")
        return
    fi

    case $prev in
        --page-size) mapfile -t COMPREPLY < <(compgen -W "letter a4 legal" -- "$cur"); return ;;
        --orientation) mapfile -t COMPREPLY < <(compgen -W "auto portrait landscape" -- "$cur"); return ;;
        --layout) mapfile -t COMPREPLY < <(compgen -W "columnar reversed tabular" -- "$cur"); return ;;
        --csv-delimiter) mapfile -t COMPREPLY < <(compgen -W "auto , ; tab |" -- "$cur"); return ;;
        --csv-encoding) mapfile -t COMPREPLY < <(compgen -W "utf-8 windows-1252 latin-1" -- "$cur"); return ;;
        --style)
            mapfile -t COMPREPLY < <(compgen -W "normal pricelist msmoney brick desert eggplant lilac maple
                marine rose spruce wheat" -- "$cur")
            return ;;
    esac
    # Any other option with a value: file names (readline's default, see -o default below),
    # which suits --db, --csv and --output.
    [[ " ${with_value//$'\n'/ } " == *" $prev "* ]] && return

    mapfile -t COMPREPLY < <(compgen -W "$with_value $flags" -- "$cur")
}

complete -o default -F _marrowlintide marrowlintide
